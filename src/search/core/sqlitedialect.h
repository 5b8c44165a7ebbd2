#pragma once

#include "failure.h"
#include "jetstatement.h"
#include "resultrow.h"

#include <cstdint>
#include <optional>
#include <vector>

struct sqlite3;

// Makes a connection speak the collection's dialect: like() with the
// engine's rules (overriding SQLite's own), chr(n), and the matcher calls
// that translateJetStatement emits. Also installs an authorizer that lets
// the connection run nothing but reading selects.
void registerJetDialect(sqlite3 *db);

// Runs a translated statement on a connection prepared by registerJetDialect
// and returns its rows (columns 0 and 1 as text). Failures carry SQLite's
// message; a text holding more than one statement is refused.
Result<ResultRows> runStatement(sqlite3 *db, const JetStatement &statement);

// The row ids, ascending, of the records with low <= row id <= high whose
// content the group's patterns accept, on a connection prepared by
// registerJetDialect; nullopt when more than `limit` match (the search then
// stops early). Failures carry SQLite's message.
Result<std::optional<std::vector<std::int64_t>>> matchingRowids(sqlite3 *db, const PatternGroup &group,
                                                                 std::int64_t low, std::int64_t high, std::size_t limit);
