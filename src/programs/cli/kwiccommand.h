#pragma once

#include <QStringList>

// tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY: the
// concordance lines of the query (--variants: as the variant search reads it), as TSV on standard output (title, page, left, hit,
// right; no header line). Exit 0 with lines; 1 with no query or no
// occurrence (the reason on standard error); 2 on a failure; 64 for a
// wrong command line.
int kwicCommand(QStringList args, const QString &defaultFolder);
