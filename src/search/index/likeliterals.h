#pragma once

#include <QString>

#include <string>
#include <vector>

// The runs of literal characters of a like pattern ("%" any run, "_" one
// character, "[...]" / "[!...]" one character of a set, "[]" nothing), each
// run folded as the matcher folds it. Every run must occur, as it stands,
// in any value that matches the pattern: that is what makes a run a safe
// filter. A pattern with no literal run (only wildcards, sets or nothing)
// gives no run and filters nothing. An unreadable pattern gives no run
// either; the matcher reports it.
std::vector<std::u32string> literalRuns(const QString &pattern);
