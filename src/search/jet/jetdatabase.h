#pragma once

#include "failure.h"

#include <QString>

#include <sqlite3.h>

#include <atomic>
#include <memory>

// True when the file's first bytes mark it as a Jet (or ACE) database:
// bytes 4..18 read "Standard Jet DB" or "Standard ACE DB".
bool isJetFile(const QString &path);

// Reads table maindata of the Jet file in a child process (killed when
// `timeoutMs` passes) and loads the rows, in the file's storage order, into
// a new in-memory SQLite database holding exactly
//   CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date REAL)
// (dates as days since 1899-12-30, text lossless, NULL kept apart from empty).
// The database is kept while the file is unchanged (the same FileStamp:
// inode, size, times and first pages): a later call returns the same
// database without reading again; a changed file is read again.
// Failure (FailureNumber::JetRead, description naming the file): file
// missing or not a Jet file, damaged file, no table maindata or one of its
// columns, time limit passed, child crashed, row count different from the
// table's own, reader program not found. When cancel (may be null) is set
// while the child reads, the child is killed, nothing is kept and the
// result is interruptedFailure(); a database kept before stays as it was.
Result<std::shared_ptr<sqlite3>> openJetDatabase(const QString &path, int timeoutMs = 60000,
                                                 const std::atomic<bool> *cancel = nullptr);

// The same read with no cache and an explicit reader program.
Result<std::shared_ptr<sqlite3>> loadJetDatabase(const QString &path, const QString &readerProgram, int timeoutMs,
                                                 const std::atomic<bool> *cancel = nullptr);

// The reader program openJetDatabase runs: tamvex-jet-reader beside the
// running executable, else the one in the build's installation folder.
// Returns the first of those paths when neither exists.
QString jetReaderProgram();
