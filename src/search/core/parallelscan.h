#pragma once

#include "failure.h"
#include "jetstatement.h"
#include "resultrow.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

struct sqlite3;

// Runs a statement that lists records filtered by one pattern group on an
// SQLite file in two steps, to use both cores where a single statement
// would use one: the matcher runs on two threads, each over half of the row
// ids, and finds the matching records; then the statement's own columns and
// order are taken over just those rows ("_rowid_ in (...)"), so rows and
// order are the statement's. nullopt when that does not apply or fails
// (another form, too many matches, a table without row ids, the file changed
// meanwhile, any SQLite failure): the caller then runs the statement as it
// stands, which also reports the failure as the statement has it. `open`
// gives a new connection with the collection's dialect.
std::optional<ResultRows> scanOnTwoThreads(const QString &path, const JetStatement &statement,
                                           const std::function<Result<std::shared_ptr<sqlite3>>()> &open);
