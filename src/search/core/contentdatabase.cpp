#include "contentdatabase.h"

#include "filetests.h"
#include "jetstatement.h"
#include "modtamvex.h"
#include "sqlitedialect.h"

#ifdef TAMVEX_HAVE_JET
#include "jetdatabase.h"
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
    auto translated = translateJetStatement(statement);
    if (!translated.ok())
        return translated.failure();
    auto db = openDatabase(path);
    if (!db.ok())
        return db.failure();
    registerJetDialect(db.value().get());
    auto rows = ::runStatement(db.value().get(), translated.value());
    if (!rows.ok())
        return Failure{rows.failure().number, rows.failure().description + QStringLiteral(" (database '%1')").arg(path)};
    return rows;
}
}
