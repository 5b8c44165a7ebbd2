#pragma once

#include "failure.h"
#include "jetstatement.h"
#include "resultrow.h"


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
