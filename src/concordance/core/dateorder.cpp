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
    const Statement insert = prepare(db, "INSERT INTO tamvex_date_order(i, r, d) VALUES (?, ?, ?)");
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
    const Statement select = prepare(db, "SELECT i FROM tamvex_date_order ORDER BY d DESC, r");
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
    // A connection of its own, in memory: the collection's connection may
    // be shared (a Jet file's copy, read by a search or an index build on
    // another thread) and its folder may not be writable.
    sqlite3 *opened = nullptr;
    const int rc = sqlite3_open_v2(":memory:", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::unique_ptr<sqlite3, int (*)(sqlite3 *)> scratch(opened, sqlite3_close);
    if (rc != SQLITE_OK) {
        error = opened ? sqlite3_errmsg(opened) : "out of memory";
        return std::nullopt;
    }
    std::optional<std::vector<std::uint32_t>> places;
    if (exec(scratch.get(), "CREATE TABLE tamvex_date_order(i INTEGER PRIMARY KEY, r INTEGER, d COLLATE "
                                + dateCollation(db) + ")")
        && exec(scratch.get(), "BEGIN")) {
        if (fill(scratch.get(), rows))
            places = readPlaces(scratch.get(), rows.size());
        exec(scratch.get(), "COMMIT");
    }
    if (!places)
        error = sqlite3_errmsg(scratch.get());
    return places;
}
