#pragma once

#include "failure.h"
#include "jetstatement.h"
#include "resultrow.h"

#include <atomic>


struct sqlite3;

// Makes a connection speak the collection's dialect: like() with the
// engine's rules (overriding SQLite's own), chr(n), and the matcher calls
// that translateJetStatement emits. Also installs an authorizer that lets
// the connection run nothing but reading selects.
void registerJetDialect(sqlite3 *db);

// Runs a translated statement on a connection prepared by registerJetDialect
// and returns its rows (columns 0 and 1 as text). Failures carry SQLite's
// message; a text holding more than one statement is refused. When cancel
// (may be null) is set while it runs, the statement stops between two
// records and the result is interruptedFailure(). With privateConnection
// the connection's progress handler is used for that too (it also stops
// scans and sorts that call no matcher); a connection others share (a Jet
// file's kept copy) is left as it is.
Result<ResultRows> runStatement(sqlite3 *db, const JetStatement &statement, const std::atomic<bool> *cancel = nullptr,
                                bool privateConnection = false);
