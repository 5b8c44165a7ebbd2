#include "collectionconnection.h"

#include "vfsfile.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <sqlite3.h>

namespace {

bool sidecarExists(const QString &path, const char *suffix)
{
    return QFileInfo::exists(path + QLatin1String(suffix));
}

// The URI of path with the given query; SQLite reads file URIs with
// percent-encoded paths, so any character of a file name passes.
QByteArray fileUri(const QString &path, const char *query)
{
    return QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded() + '?' + query;
}
}

bool isWalFile(const QString &path)
{
    const VfsFile file(path);
    char head[20] = {};
    // Bytes 18 and 19 are the write and read versions: 2 means WAL.
    return file.isOpen() && file.readHead(head, sizeof head) == sizeof head && head[18] == 2 && head[19] == 2;
}

int openCollectionConnection(const QString &path, sqlite3 **db)
{
    *db = nullptr;
    const bool untouchedWal = isWalFile(path) && !sidecarExists(path, "-wal") && !sidecarExists(path, "-shm");
    const int flags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    const QByteArray name = untouchedWal ? fileUri(path, "immutable=1") : fileUri(path, "mode=ro");
    const int rc = sqlite3_open_v2(name.constData(), db, flags, nullptr);
    if (rc != SQLITE_OK)
        return rc;
    sqlite3_busy_timeout(*db, 3000);
    sqlite3_exec(*db, "PRAGMA mmap_size=0", nullptr, nullptr, nullptr);
    sqlite3_db_config(*db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(*db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    return SQLITE_OK;
}

bool rollBackUnfinishedChange(const QString &path)
{
    sqlite3 *db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_URI;
    bool done = sqlite3_open_v2(fileUri(path, "mode=rw").constData(), &db, flags, nullptr) == SQLITE_OK;
    if (done) {
        sqlite3_busy_timeout(db, 3000);
        // The first read of a connection that may write plays the journal
        // back and removes it.
        done = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close_v2(db);
    return done;
}
