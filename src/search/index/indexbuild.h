#pragma once

#include "catalogue.h"
#include "failure.h"
#include "postingsink.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

struct sqlite3;

// Where a build reads maindata: a file, opened read-only once per thread,
// or an open connection (an in-memory copy of a Jet file) read on the
// calling thread only.
struct IndexSource {
    QString path;
    sqlite3 *handle = nullptr;
};

struct BuildProgress {
    std::uint64_t recordsDone = 0;
    std::uint64_t recordsTotal = 0;
    std::uint64_t contentBytesDone = 0;
};

struct BuildOptions {
    int threads = 2;
    const std::atomic<bool> *cancel = nullptr; // true stops the build soon
    // Called now and then from the building threads (never concurrently).
    std::function<void(const BuildProgress &)> progress;
    // Folder for scratch files when the postings of a large collection do
    // not fit the memory budget; empty: keep everything in memory.
    QString scratchFolder;
    std::uint64_t memoryBudget = 512ull << 20;
};

// Numbers the records of maindata in result order (date descending, ties by
// SQLite's row id) and hands the postings of every folded code point and
// every pair of neighbouring folded code points of content, plus
// kContentKey for every non-NULL content, to the sink. Values are read as
// SQLite hands them to a function (sqlite3_column_text), exactly as the like
// matcher sees them. Memory stays near the budget whatever the collection's
// size. Failures: the source cannot be read, maindata has no row id of its
// own (a column named _rowid_, a table without row ids), more than 2^32 - 1
// records, the sink refused, out of memory, or cancelled.
Result<CatalogueData> buildIndex(const IndexSource &source, PostingSink &sink, const BuildOptions &options);
