#pragma once

#include "indexedsearch.h"

#include <QFile>

#include <sqlite3.h>

// Opens the SQLite file read-only, as the search does to confirm candidates.
inline ContentOpener readOnlyOpener(const QString &dbPath)
{
    return [dbPath]() -> Result<std::shared_ptr<sqlite3>> {
        sqlite3 *raw = nullptr;
        const int rc = sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &raw, SQLITE_OPEN_READONLY, nullptr);
        std::shared_ptr<sqlite3> db(raw, sqlite3_close_v2);
        if (rc != SQLITE_OK)
            return Failure{FailureNumber::DatabaseOpen, QString::fromUtf8(sqlite3_errstr(rc))};
        return db;
    };
}
