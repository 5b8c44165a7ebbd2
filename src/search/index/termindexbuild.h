#pragma once

#include "failure.h"
#include "postingtable.h"

#include <QString>

#include <atomic>

// Builds the postings of every folded code point and every pair of
// neighbouring folded code points of maindata.content, one entry per row
// that holds it (NULL content holds nothing). Reads the SQLite file at path
// through its own read-only connections, one per thread, each over its own
// range of rowids. Values are read as SQLite hands them to a function
// (sqlite3_column_text), exactly as the like matcher sees them.
// Failures: the file cannot be opened or has no readable maindata, or
// cancel became true (the build then stops within a few hundred rows).
Result<PostingTable> buildPostings(const QString &path, const std::atomic<bool> &cancel, int threads = 2);
