#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// A record of a result with the value of its date column, as read.
struct DatedRow {
    std::int64_t rowId = 0;
    std::unique_ptr<sqlite3_value, void (*)(sqlite3_value *)> date{nullptr, sqlite3_value_free};
};

// The place (from 0) of each row in the search's order: date descending,
// equal dates by row id. SQLite itself orders the pairs, in a table of an
// in-memory connection of its own whose date column has the collation
// maindata's has on db, so that the order is the statement's to the letter
// while only the rows found are sorted. nullopt when SQLite could not, with its message in error.
std::optional<std::vector<std::uint32_t>> placesByDate(sqlite3 *db, const std::vector<DatedRow> &rows,
                                                       std::string &error);
