#include "contentdatabase.h"

#include "filetests.h"
#include "jetstatement.h"
#include "modtamvex.h"
#include "sqlitedialect.h"

#ifdef TAMVEX_HAVE_JET
#include "jetdatabase.h"
#endif

#ifdef TAMVEX_HAVE_INDEX
#include "programfolder.h"
#include "termindexregistry.h"
#endif

#include <QFile>

#include <sqlite3.h>

#include <memory>

namespace {

Failure openFailure(const QString &path, const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen, QStringLiteral("Could not use the database '%1': %2").arg(path, why)};
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

Result<Handle> openDatabase(const QString &path)
{
    switch (ContentDatabase::detectFormat(path)) {
    case ContentDatabase::Format::Missing:
        return Failure{FailureNumber::DatabaseOpen,
                       QStringLiteral("Could not find file '%1'. Check that the collection's database lies in the program folder.").arg(path)};
    case ContentDatabase::Format::Unknown:
        return openFailure(path, QStringLiteral("the file is neither an SQLite nor a Jet database, or cannot be read."));
    case ContentDatabase::Format::Jet:
#ifdef TAMVEX_HAVE_JET
        return openJetDatabase(path);
#else
        return openFailure(path, QStringLiteral("Jet database files cannot be read by this build."));
#endif
    case ContentDatabase::Format::SQLite:
        break;
    }
    return openSqlite(path);
}

#ifdef TAMVEX_HAVE_INDEX
using IndexHandle = std::shared_ptr<const TermIndex>;

// The term index of an SQLite database when it is ready for the file as it
// is now. Jet files are scanned: their rows live in memory already.
IndexHandle readyIndex(const QString &path)
{
    if (ContentDatabase::detectFormat(path) != ContentDatabase::Format::SQLite)
        return nullptr;
    return TermIndexRegistry::instance().indexFor(path, joinTail(ProgramFolder(), QStringLiteral("/tmp")));
}

// Gives each pattern group the rows the index allows (null: every row).
void attachCandidates(JetStatement &statement, const TermIndex &index)
{
    for (std::size_t i = 0; i < statement.groups.size() && i < statement.candidates.size(); ++i) {
        QStringList patterns;
        for (const LikePattern &pattern : statement.groups[i]->patterns)
            patterns << pattern.text();
        std::optional<RowSet> rows = index.groupCandidates(statement.groups[i]->all, patterns);
        if (rows)
            statement.candidates[i] = std::make_shared<const RowSet>(std::move(*rows));
    }
}
#else
using IndexHandle = std::shared_ptr<const void>;
IndexHandle readyIndex(const QString &) { return nullptr; }
#endif
}

namespace ContentDatabase {

Format detectFormat(const QString &path)
{
    if (!isOrdinaryFile(path))
        return Format::Missing;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Format::Unknown;
    const QByteArray head = file.read(32);
    if (head.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return Format::SQLite;
    const QByteArray jetMark = head.mid(4, 15);
    if (jetMark == QByteArrayLiteral("Standard Jet DB") || jetMark == QByteArrayLiteral("Standard ACE DB"))
        return Format::Jet;
    return Format::Unknown;
}

Result<ResultRows> runStatement(const QString &connectionString, const QString &statement)
{
    const QString path = modTamvex::dataSourceOf(connectionString);
    if (path.isEmpty())
        return Failure{FailureNumber::DatabaseOpen, QStringLiteral("The connection string names no data source.")};
    const IndexHandle index = readyIndex(path);
    auto translated = translateJetStatement(statement, index != nullptr);
    if (!translated.ok())
        return translated.failure();
    auto db = openDatabase(path);
    if (!db.ok())
        return db.failure();
#ifdef TAMVEX_HAVE_INDEX
    if (index)
        attachCandidates(translated.value(), *index);
#endif
    registerJetDialect(db.value().get());
    auto rows = ::runStatement(db.value().get(), translated.value());
    if (!rows.ok())
        return Failure{rows.failure().number, rows.failure().description + QStringLiteral(" (database '%1')").arg(path)};
    return rows;
}
}
