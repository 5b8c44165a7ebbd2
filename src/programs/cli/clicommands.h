#pragma once

#include <QStringList>

// Runs one command of tamvex-cli (arguments without the program name) and
// returns the process exit code: 0 done, 1 no row found, 2 failure,
// 64 wrong usage.
int runCliCommand(const QStringList &args);
