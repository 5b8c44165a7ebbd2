#include "jetsqliteloader.h"

#include "jetwireformat.h"

#include <QCoreApplication>

namespace {
Failure loadFailure(const QString &why)
{
    return Failure{FailureNumber::JetRead,
                   QCoreApplication::translate("JetSqliteLoader", "the in-memory copy could not be built: %1").arg(why)};
}
}

JetSqliteLoader::JetSqliteLoader() = default;

JetSqliteLoader::~JetSqliteLoader()
{
    sqlite3_finalize(m_insert);
    if (m_db)
        sqlite3_close_v2(m_db);
}

QString JetSqliteLoader::lastError() const
{
    return m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QCoreApplication::translate("JetSqliteLoader", "out of memory");
}

Status JetSqliteLoader::begin()
{
    if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK)
        return loadFailure(lastError());
    // Double-quoted words are names only, as on a connection to a file.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    const char *setup = "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date REAL);"
                        "BEGIN;";
    if (sqlite3_exec(m_db, setup, nullptr, nullptr, nullptr) != SQLITE_OK)
        return loadFailure(lastError());
    if (sqlite3_prepare_v3(m_db, "INSERT INTO maindata(subject, htm, content, date) VALUES(?1, ?2, ?3, ?4)", -1,
                           SQLITE_PREPARE_PERSISTENT, &m_insert, nullptr) != SQLITE_OK)
        return loadFailure(lastError());
    return {};
}

bool JetSqliteLoader::addRow(const JetWireParser::Value *values, QString &why)
{
    for (int i = 0; i < JetWire::ColumnCount; ++i) {
        const JetWireParser::Value &v = values[i];
        int rc = SQLITE_OK;
        if (v.kind == JetWire::Text)
            rc = sqlite3_bind_text(m_insert, i + 1, v.text, int(v.size), SQLITE_STATIC);
        else if (v.kind == JetWire::Number)
            rc = sqlite3_bind_double(m_insert, i + 1, v.number);
        else
            rc = sqlite3_bind_null(m_insert, i + 1);
        if (rc != SQLITE_OK) {
            why = loadFailure(lastError()).description;
            return false;
        }
    }
    const int rc = sqlite3_step(m_insert);
    sqlite3_reset(m_insert);
    if (rc != SQLITE_DONE) {
        why = loadFailure(lastError()).description;
        return false;
    }
    return true;
}

Result<std::shared_ptr<sqlite3>> JetSqliteLoader::finish()
{
    sqlite3_finalize(m_insert);
    m_insert = nullptr;
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return loadFailure(lastError());
    std::shared_ptr<sqlite3> db(m_db, sqlite3_close_v2);
    m_db = nullptr;
    return db;
}
