#pragma once

#include "databaselocation.h"
#include "failure.h"
#include "resultrow.h"

#include <QString>

// The collection's catalogue, jst.mdb: an SQLite 3 file (the program's own
// format) or a Jet file, told apart by the file's first bytes.
namespace ContentDatabase {

// Opens the database at location.database, runs the statement (the query
// language of the reference engine, translated) and returns its rows in
// statement order. A new connection is opened for every call and the
// database is never written. Once a term index of an SQLite database is
// ready (it is built on a worker thread after the first call, and kept in
// location.tmpFolder for later starts), it narrows the rows the matcher
// looks at; rows, order and failures stay the same.
// Failures (number and description naming the file): no database path,
// file missing or not a file, unreadable, not a database of either format,
// locked, no table maindata, statement rejected, unreadable like pattern.
Result<ResultRows> runStatement(const DatabaseLocation &location, const QString &statement);

// Kinds of file that may stand at the database path.
enum class Format { Missing, SQLite, Jet, Unknown };

// Looks at the first bytes of the file.
Format detectFormat(const QString &path);
}
