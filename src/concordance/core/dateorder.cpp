#include "dateorder.h"

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

bool exec(sqlite3 *db, const std::string &sql) { return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK; }

Statement prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return Statement(nullptr, sqlite3_finalize);
    return Statement(stmt, sqlite3_finalize);
}

// The collation maindata's date column is declared with, as a quoted name.
std::string dateCollation(sqlite3 *db)
{
    const char *collation = nullptr;
    if (sqlite3_table_column_metadata(db, "main", "maindata", "date", nullptr, &collation, nullptr, nullptr, nullptr)
            != SQLITE_OK
        || !collation)
        collation = "BINARY";
    std::string quoted = "\"";
    for (const char *c = collation; *c; ++c)
        quoted += *c == '"' ? std::string("\"\"") : std::string(1, *c);
    return quoted + '"';
}

bool fill(sqlite3 *db, const std::vector<DatedRow> &rows)
{
    const Statement insert = prepare(db, "INSERT INTO temp.tamvex_date_order(i, r, d) VALUES (?, ?, ?)");
    if (!insert)
        return false;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        sqlite3_bind_int64(insert.get(), 1, std::int64_t(i));
        sqlite3_bind_int64(insert.get(), 2, rows[i].rowId);
        sqlite3_bind_value(insert.get(), 3, rows[i].date.get());
        if (sqlite3_step(insert.get()) != SQLITE_DONE)
            return false;
        sqlite3_reset(insert.get());
    }
    return true;
}

std::optional<std::vector<std::uint32_t>> readPlaces(sqlite3 *db, std::size_t count)
{
    const Statement select = prepare(db, "SELECT i FROM temp.tamvex_date_order ORDER BY d DESC, r");
    if (!select)
        return std::nullopt;
    std::vector<std::uint32_t> places(count);
    std::uint32_t place = 0;
    int rc;
    while ((rc = sqlite3_step(select.get())) == SQLITE_ROW)
        places[std::size_t(sqlite3_column_int64(select.get(), 0))] = place++;
    if (rc != SQLITE_DONE)
        return std::nullopt;
    return places;
}
}

std::optional<std::vector<std::uint32_t>> placesByDate(sqlite3 *db, const std::vector<DatedRow> &rows,
                                                       std::string &error)
{
    // In memory: the collection's folder may not be writable, and the pairs
    // are few beside the table.
    exec(db, "PRAGMA temp_store=MEMORY");
    exec(db, "DROP TABLE IF EXISTS temp.tamvex_date_order");
    std::optional<std::vector<std::uint32_t>> places;
    if (exec(db, "CREATE TEMP TABLE tamvex_date_order(i INTEGER PRIMARY KEY, r INTEGER, d COLLATE " + dateCollation(db)
                     + ")")
        && exec(db, "BEGIN")) {
        if (fill(db, rows))
            places = readPlaces(db, rows.size());
        exec(db, "COMMIT");
    }
    if (!places)
        error = sqlite3_errmsg(db);
    exec(db, "DROP TABLE IF EXISTS temp.tamvex_date_order");
    return places;
}
