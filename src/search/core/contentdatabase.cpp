#include "contentdatabase.h"

#include "collectionconnection.h"
#include "filestamp.h"
#include <QCoreApplication>

#include "filetests.h"
#include "indexbuild.h"
#include "indexedsearch.h"
#include "jetdatabase.h"
#include "jetstatement.h"
#include "sqlitedialect.h"
#include "termindexregistry.h"
#include "vfsfile.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <memory>
#include <optional>

namespace {

// What the reader can do when the file itself is the trouble.
QString installAdvice()
{
    return QCoreApplication::translate("ContentDatabase", " Install the collection's database file jst.mdb in the program folder again.");
}

Failure openFailure(const QString &path, const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("ContentDatabase", "Could not use the database '%1': %2").arg(path, why) + installAdvice()};
}

// A failed run, with what to do: a lock is another program's and passes; a
// statement the reader's words made is changed by changing them; anything
// else is the file's.
Failure runFailure(sqlite3 *db, const Failure &failure, const QString &path)
{
    const int code = sqlite3_errcode(db);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return Failure{failure.number,
                       QCoreApplication::translate("ContentDatabase", "The database '%1' is locked by another program (%2). Close that program or wait "
                                      "until it is done, then search again.")
                           .arg(path, failure.description)};
    return Failure{failure.number, failure.description + QCoreApplication::translate("ContentDatabase", " (database '%1').").arg(path) + installAdvice()};
}

using Handle = std::shared_ptr<sqlite3>;

// Another program rewrote the file in place while the statement read it:
// what was read is no state of the file, and the file itself may be fine.
Failure changedWhileRead(const QString &path)
{
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("ContentDatabase",
                                               "The database '%1' was changed by another program while it was read. "
                                               "Search again once that program is done.")
                       .arg(path)};
}

Failure unfinishedChangeFailure(const QString &path)
{
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("ContentDatabase",
                                  "The database '%1' holds an unfinished change of a program that stopped while "
                                  "writing it (the file '%1-journal' beside it), and this program may not write "
                                  "there to undo it. Nothing is lost: the change is rolled back the first time the "
                                  "file is opened by a program that may write it (for example, as its owner: "
                                  "sqlite3 '%1' 'select 1'). Then search again.")
                       .arg(path)};
}

Result<Handle> openSqlite(const QString &path)
{
    sqlite3 *raw = nullptr;
    const int rc = openCollectionConnection(path, &raw);
    Handle db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK)
        return openFailure(path, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    return db;
}

Result<Handle> openDatabase(const QString &path, ContentDatabase::Format format,
                            const std::atomic<bool> *cancel = nullptr)
{
    switch (format) {
    case ContentDatabase::Format::Missing:
        if (QFileInfo::exists(path))
            return openFailure(path, QCoreApplication::translate("ContentDatabase", "it is not a file (a folder or a special file has its name). Remove it."));
        return Failure{FailureNumber::DatabaseOpen, QCoreApplication::translate("ContentDatabase", "Could not find file '%1'.").arg(path) + installAdvice()};
    case ContentDatabase::Format::Unknown:
        return openFailure(path, QCoreApplication::translate("ContentDatabase", "the file is neither an SQLite nor a Jet database, or cannot be read."));
    case ContentDatabase::Format::Jet:
        return openJetDatabase(path, 60000, cancel);
    case ContentDatabase::Format::SQLite:
        break;
    }
    return openSqlite(path);
}


// The statement's rows from the term index of the file as it is now, or
// nullopt (no index, the statement has another form, SQLite could not read).
std::optional<Result<ResultRows>> answerWithIndex(TermIndexRegistry &index, const QString &path,
                                                  ContentDatabase::Format format, const JetStatement &statement,
                                                  const std::atomic<bool> *cancel)
{
    if (format == ContentDatabase::Format::Jet) {
        const auto ready = index.indexFor(path);
        return ready ? answerFromIndex(ready, statement, path, [&] { return openJetDatabase(path, 60000, cancel); }, cancel)
                     : std::nullopt;
    }
    // Without an index (the first start, a script before "index") the
    // search takes the statement's own way at once: no extra connection, and
    // a lock is waited for once.
    if (!index.indexFor(path))
        return std::nullopt;
    auto db = openSqlite(path);
    if (!db.ok() || !ContentDatabase::beginRead(db.value().get()))
        return std::nullopt;
    // Asked again under the read lock: the file cannot change from here on.
    const auto ready = index.indexFor(path);
    return ready ? answerFromIndex(ready, statement, path, [&] { return db; }, cancel) : std::nullopt;
}

Failure noDataSource()
{
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("ContentDatabase", "The connection string names no data source.")};
}

// Runs the statement on db and says what went wrong in the reader's terms.
// A file that changed while it was read (its stamp before and after) gives
// changedWhileRead: under the statement's read lock no SQLite writer changes
// a file in rollback mode, so the change is a foreign rewrite and the rows
// may mix two files (in WAL mode a checkpoint may write the file while the
// statement reads its own snapshot, so only a failure counts there). A
// writer that stopped in the middle of a change left a hot journal, which a
// read-only connection cannot play back: where mayRollBack, one connection
// that may write rolls it back (the file becomes what it was before the
// change began, as SQLite guarantees) and the statement runs again.
Result<ResultRows> readRows(sqlite3 *db, const JetStatement &statement, const QString &path,
                            ContentDatabase::Format format, bool mayRollBack, const std::atomic<bool> *cancel)
{
    registerJetDialect(db);
    const FileStamp before = format == ContentDatabase::Format::SQLite ? FileStamp::of(path) : FileStamp{};
    // Only a connection to the file is this run's alone; a Jet file's kept
    // copy is shared with the index build.
    auto rows = ::runStatement(db, statement, cancel, format == ContentDatabase::Format::SQLite);
    if (!rows.ok() && isInterrupted(rows.failure()))
        return rows;
    if (!rows.ok() && mayRollBack && sqlite3_extended_errcode(db) == SQLITE_READONLY_ROLLBACK) {
        if (!rollBackUnfinishedChange(path))
            return unfinishedChangeFailure(path);
        auto again = openSqlite(path);
        if (!again.ok())
            return again.failure();
        return readRows(again.value().get(), statement, path, format, false, cancel);
    }
    const bool changed = before.valid() && (!rows.ok() || !isWalFile(path)) && !(FileStamp::of(path) == before);
    if (changed)
        return changedWhileRead(path);
    if (!rows.ok())
        return runFailure(db, rows.failure(), path);
    return rows;
}
}

namespace ContentDatabase {

bool beginRead(sqlite3 *db)
{
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return false;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT 1 FROM maindata LIMIT 1", -1, &stmt, nullptr) != SQLITE_OK)
        return false;
    const int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

Format detectFormat(const QString &path)
{
    if (!isOrdinaryFile(path))
        return Format::Missing;
    // Through SQLite's file layer: a plain open and close of the file would
    // end the locks this process's connections (a background build) hold.
    const VfsFile file(path);
    QByteArray head(32, '\0');
    const std::int64_t got = file.isOpen() ? file.readHead(head.data(), head.size()) : -1;
    if (got < 0)
        return Format::Unknown;
    head.truncate(qsizetype(got));
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return Format::SQLite;
    const QByteArray jetMark = head.mid(4, 15);
    if (jetMark == QByteArrayLiteral("Standard Jet DB") || jetMark == QByteArrayLiteral("Standard ACE DB"))
        return Format::Jet;
    return Format::Unknown;
}

Result<ResultRows> runStatement(const DatabaseLocation &location, const QString &statement, TermIndexRegistry *index,
                                const std::atomic<bool> *cancel)
{
    const QString &path = location.database;
    // The window's location comes from the connection string; an empty path
    // is one that named no Data Source.
    if (path.isEmpty())
        return noDataSource();
    auto translated = translateJetStatement(statement);
    if (!translated.ok())
        return Failure{translated.failure().number,
                       translated.failure().description + QCoreApplication::translate("ContentDatabase", " Change the search words and search again.")};
    const Format format = detectFormat(path);
    const bool indexable = index && (format == Format::SQLite || format == Format::Jet);
    if (indexable && translated.value().catalogue.fits)
        if (auto answered = answerWithIndex(*index, path, format, translated.value(), cancel))
            return std::move(*answered);
    auto db = openDatabase(path, format, cancel);
    if (!db.ok())
        return db.failure();
    // A Jet file's rows are in memory now: the index is built from them.
    if (indexable && format == Format::Jet)
        (void)index->indexFor(path, db.value());
    return readRows(db.value().get(), translated.value(), path, format, true, cancel);
}

Result<std::shared_ptr<const CollectionIndex>> buildIndex(const DatabaseLocation &location, TermIndexRegistry &index,
                                                          const std::function<void(const BuildProgress &)> &progress)
{
    const QString &path = location.database;
    const Format format = detectFormat(path);
    if (format != Format::Jet)
        return index.buildNow(path, progress);
    auto db = openDatabase(path, format);
    if (!db.ok())
        return db.failure();
    return index.buildNow(path, progress, db.value());
}

Result<std::shared_ptr<sqlite3>> openReadOnly(const QString &path)
{
    if (path.isEmpty())
        return noDataSource();
    return openDatabase(path, detectFormat(path));
}
}
