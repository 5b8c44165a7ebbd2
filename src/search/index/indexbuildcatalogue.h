#pragma once

#include "catalogue.h"
#include "failure.h"

#include <atomic>

struct sqlite3;

// Reads maindata's records in result order (date descending, ties by
// SQLite's row id, as SQLite orders mixed types) with their subject and htm
// as the result rows show them. Failures (the description is the reason
// only): maindata cannot be read, has a column named _rowid_ that would
// hide the row id, has no integer row ids, holds more than 2^32 - 1
// records, or cancel became true.
Result<CatalogueData> readCatalogue(sqlite3 *db, const std::atomic<bool> *cancel);
