#include "indexbuildcatalogue.h"

#include <QCoreApplication>
#include <QString>

#include <sqlite3.h>

#include <cstring>
#include <memory>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

Failure reason(const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen, why};
}

Failure sqliteReason(sqlite3 *db)
{
    return reason(QString::fromUtf8(sqlite3_errmsg(db)));
}

Statement prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr);
    return Statement(stmt, sqlite3_finalize);
}

// A column called _rowid_ (in any case) would stand for itself in the
// statements instead of the row id.
Status checkColumns(sqlite3 *db)
{
    const Statement info = prepare(db, "PRAGMA table_xinfo(maindata)");
    if (!info)
        return sqliteReason(db);
    bool any = false;
    int rc;
    while ((rc = sqlite3_step(info.get())) == SQLITE_ROW) {
        any = true;
        const auto *name = reinterpret_cast<const char *>(sqlite3_column_text(info.get(), 1));
        if (name && sqlite3_stricmp(name, "_rowid_") == 0)
            return reason(QCoreApplication::translate("IndexBuild", "maindata has a column named _rowid_ that hides the row id"));
    }
    if (rc != SQLITE_DONE)
        return sqliteReason(db);
    if (!any)
        return reason(QCoreApplication::translate("IndexBuild", "no such table: maindata"));
    return {};
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

void appendText(CatalogueData &data, const QString &text)
{
    data.text.insert(data.text.end(), text.utf16(), text.utf16() + text.size());
    data.offsets.push_back(data.text.size());
}

// SQLite sorts every record before it hands over the first: a cancel must
// be able to interrupt that.
int interruptWhenCancelled(void *cancel)
{
    return static_cast<const std::atomic<bool> *>(cancel)->load(std::memory_order_relaxed) ? 1 : 0;
}

class ProgressHandler {
public:
    ProgressHandler(sqlite3 *db, const std::atomic<bool> *cancel) : m_db(cancel ? db : nullptr)
    {
        if (m_db)
            sqlite3_progress_handler(m_db, 20000, interruptWhenCancelled, const_cast<std::atomic<bool> *>(cancel));
    }
    ~ProgressHandler()
    {
        if (m_db)
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }

private:
    sqlite3 *m_db;
};
}

Result<CatalogueData> readCatalogue(sqlite3 *db, const std::atomic<bool> *cancel)
{
    const ProgressHandler interrupt(db, cancel);
    if (const Status columns = checkColumns(db); !columns)
        return columns.failure();
    const Statement stmt = prepare(db, "SELECT _rowid_, subject, htm FROM maindata ORDER BY date DESC, _rowid_");
    if (!stmt)
        return sqliteReason(db);
    CatalogueData data;
    data.offsets.push_back(0);
    int rc;
    while ((rc = sqlite3_step(stmt.get())) == SQLITE_ROW) {
        if ((data.rowids.size() & 4095) == 0 && cancel && cancel->load(std::memory_order_relaxed))
            return reason(QCoreApplication::translate("IndexBuild", "cancelled"));
        if (sqlite3_column_type(stmt.get(), 0) != SQLITE_INTEGER)
            return reason(QCoreApplication::translate("IndexBuild", "maindata has no row ids"));
        if (data.rowids.size() >= 0xFFFFFFFFull)
            return reason(QCoreApplication::translate("IndexBuild", "maindata holds more than 4294967295 records"));
        data.rowids.push_back(sqlite3_column_int64(stmt.get(), 0));
        appendText(data, columnText(stmt.get(), 1));
        appendText(data, columnText(stmt.get(), 2));
    }
    if (rc == SQLITE_INTERRUPT)
        return reason(QCoreApplication::translate("IndexBuild", "cancelled"));
    if (rc != SQLITE_DONE)
        return sqliteReason(db);
    return data;
}
