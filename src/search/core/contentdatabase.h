#pragma once

#include "databaselocation.h"
#include "indexbuild.h"
#include "failure.h"
#include "resultrow.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class CollectionIndex;
struct sqlite3;
class TermIndexRegistry;

// The collection's catalogue, jst.mdb: an SQLite 3 file (the program's own
// format) or a Jet file, told apart by the file's first bytes.
namespace ContentDatabase {

// Opens the database at location.database, runs the statement (the query
// language of the reference engine, translated) and returns its rows in
// statement order. A new connection is opened for every call and the
// database is never written. With a registry whose index was made from the
// file as it is now, the statement is answered from that index instead;
// rows, order and failures stay the same.
// Failures (number and description naming the file): no Data Source, file
// missing or not a file, unreadable, not a database of either format,
// locked, no table maindata, statement rejected, unreadable like pattern.
// When cancel (may be null) is set while it runs, the statement, the Jet
// reader child or the index's confirming read stops within moments and the
// result is interruptedFailure().
Result<ResultRows> runStatement(const DatabaseLocation &location, const QString &statement,
                                TermIndexRegistry *index = nullptr, const std::atomic<bool> *cancel = nullptr);

// Builds (or checks) the kept index of the database in the foreground; a
// Jet file is read first. Failure: the database cannot be read or indexed,
// or the index cannot be kept in the location's tmp folder.
Result<std::shared_ptr<const CollectionIndex>> buildIndex(const DatabaseLocation &location, TermIndexRegistry &index,
                                                          const std::function<void(const BuildProgress &)> &progress = {});

// Opens the database at path read-only, an SQLite file as it is or a Jet
// file through its in-memory copy, for reading maindata directly. Failure:
// as runStatement's for a file it cannot open.
Result<std::shared_ptr<sqlite3>> openReadOnly(const QString &path);

// Begins a read transaction on db and takes its lock by reading maindata,
// as a statement would: while it is held no writer can change the file (a
// file with pending writes gets no index anyway), so an index asked for
// afterwards, the file stamp and any content read describe one state of
// the file. End it with COMMIT. False when SQLite could not read (locked
// past the busy timeout, no maindata): the caller then reads as it would
// without an index, and reports that as it always has.
bool beginRead(sqlite3 *db);

// Kinds of file that may stand at the database path.
enum class Format { Missing, SQLite, Jet, Unknown };

// Looks at the first bytes of the file.
Format detectFormat(const QString &path);
}
