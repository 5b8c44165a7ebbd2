#pragma once

#include <QString>

struct sqlite3;

// Opens the collection's SQLite file for reading, as every search and
// every index build reads it. The connection:
// - reads the file and never maps it: a file another program rewrites in
//   place would end a mapping reader with SIGBUS, a reading one sees a
//   damaged file and fails cleanly;
// - takes double-quoted words as names only, so that a statement naming a
//   column the table lacks fails the same way on every path;
// - leaves the folder as it was for a file in WAL mode that no writer has
//   open (no -wal and no -shm beside it): it is opened immutable, where a
//   plain read-only open would create both files;
// - waits up to 3 s for a lock.
// Returns SQLite's result code; *db is set (to be closed by the caller)
// whenever SQLite made a handle, also on failure, for its message.
int openCollectionConnection(const QString &path, sqlite3 **db);

// True when the database file is in WAL mode (its header says so).
bool isWalFile(const QString &path);

// Rolls back the unfinished change of a writer that stopped while writing
// (a hot rollback journal beside the file): SQLite does so when a
// connection that may write first reads the file. Nothing is lost: the
// file becomes what it was before that change began. False when the file
// or its folder cannot be written or the rollback failed.
bool rollBackUnfinishedChange(const QString &path);
