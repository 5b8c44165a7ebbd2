#pragma once

#include <QString>
#include <QStringList>

// The two rules of blanks that the query box, the statement builder and the
// page marker share. Only U+0020 counts as a blank: tabs, the ideographic
// space U+3000 and other white space stay where they are.

// Removes every U+0020 at the start and at the end; nothing else.
QString trimBlanks(const QString &text);

// Cuts text at every single U+0020. An empty text gives no piece at all;
// otherwise n blanks give n + 1 pieces, empty ones included. No limit on
// the number of pieces.
QStringList splitTerms(const QString &text);
