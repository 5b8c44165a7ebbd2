#include "contentdatabase.h"

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
const QString InstallAdvice = QStringLiteral(" Install the collection's database file jst.mdb in the program folder again.");

Failure openFailure(const QString &path, const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen,
                   QStringLiteral("Could not use the database '%1': %2").arg(path, why) + InstallAdvice};
}

// A failed run, with what to do: a lock is another program's and passes; a
// statement the reader's words made is changed by changing them; anything
// else is the file's.
Failure runFailure(sqlite3 *db, const Failure &failure, const QString &path)
{
    const int code = sqlite3_errcode(db);
    if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
        return Failure{failure.number,
                       QStringLiteral("The database '%1' is locked by another program (%2). Close that program or wait "
                                      "until it is done, then search again.")
                           .arg(path, failure.description)};
    return Failure{failure.number, failure.description + QStringLiteral(" (database '%1').").arg(path) + InstallAdvice};
}

using Handle = std::shared_ptr<sqlite3>;

Result<Handle> openSqlite(const QString &path)
{
    sqlite3 *raw = nullptr;
    const QByteArray native = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(native.constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    Handle db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK)
        return openFailure(path, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc)));
    sqlite3_busy_timeout(raw, 3000);
    // Map the file instead of copying its pages: a full scan then reads the
    // page cache of the system directly.
    sqlite3_exec(raw, "PRAGMA mmap_size=4294967296", nullptr, nullptr, nullptr);
    return db;
}

Result<Handle> openDatabase(const QString &path, ContentDatabase::Format format)
{
    switch (format) {
    case ContentDatabase::Format::Missing:
        if (QFileInfo::exists(path))
            return openFailure(path, QStringLiteral("it is not a file (a folder or a special file has its name). Remove it."));
        return Failure{FailureNumber::DatabaseOpen, QStringLiteral("Could not find file '%1'.").arg(path) + InstallAdvice};
    case ContentDatabase::Format::Unknown:
        return openFailure(path, QStringLiteral("the file is neither an SQLite nor a Jet database, or cannot be read."));
    case ContentDatabase::Format::Jet:
        return openJetDatabase(path);
    case ContentDatabase::Format::SQLite:
        break;
    }
    return openSqlite(path);
}


// A read transaction on maindata, as the statement would take it: while it
// is held no writer can change the file (a file with pending writes gets no
// index anyway), so the index, the file stamp and any content read for
// confirming describe one state of the file. False when SQLite could not
// read (locked past the busy timeout, no maindata): the statement itself
// then runs and reports that as it always has.
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

// The statement's rows from the term index of the file as it is now, or
// nullopt (no index, the statement has another form, SQLite could not read).
std::optional<Result<ResultRows>> answerWithIndex(TermIndexRegistry &index, const QString &path,
                                                  ContentDatabase::Format format, const JetStatement &statement)
{
    if (format == ContentDatabase::Format::Jet) {
        const auto ready = index.indexFor(path);
        return ready ? answerFromIndex(ready, statement, path, [&] { return openJetDatabase(path); }) : std::nullopt;
    }
    // Without an index (the first start, a script before "index") the
    // search takes the statement's own way at once: no extra connection, and
    // a lock is waited for once.
    if (!index.indexFor(path))
        return std::nullopt;
    auto db = openSqlite(path);
    if (!db.ok() || !beginRead(db.value().get()))
        return std::nullopt;
    // Asked again under the read lock: the file cannot change from here on.
    const auto ready = index.indexFor(path);
    return ready ? answerFromIndex(ready, statement, path, [&] { return db; }) : std::nullopt;
}
}

namespace ContentDatabase {

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

Result<ResultRows> runStatement(const DatabaseLocation &location, const QString &statement, TermIndexRegistry *index)
{
    const QString &path = location.database;
    // The window's location comes from the connection string; an empty path
    // is one that named no Data Source.
    if (path.isEmpty())
        return Failure{FailureNumber::DatabaseOpen, QStringLiteral("The connection string names no data source.")};
    auto translated = translateJetStatement(statement);
    if (!translated.ok())
        return Failure{translated.failure().number,
                       translated.failure().description + QStringLiteral(" Change the search words and search again.")};
    const Format format = detectFormat(path);
    const bool indexable = index && (format == Format::SQLite || format == Format::Jet);
    if (indexable && translated.value().catalogue.fits)
        if (auto answered = answerWithIndex(*index, path, format, translated.value()))
            return std::move(*answered);
    auto db = openDatabase(path, format);
    if (!db.ok())
        return db.failure();
    // A Jet file's rows are in memory now: the index is built from them.
    if (indexable && format == Format::Jet)
        (void)index->indexFor(path, db.value());
    registerJetDialect(db.value().get());
    auto rows = ::runStatement(db.value().get(), translated.value());
    if (!rows.ok())
        return runFailure(db.value().get(), rows.failure(), path);
    return rows;
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
        return Failure{FailureNumber::DatabaseOpen, QStringLiteral("The connection string names no data source.")};
    return openDatabase(path, detectFormat(path));
}
}
