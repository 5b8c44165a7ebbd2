#pragma once

#include <QString>
#include <QStringList>

// What the first half of a search makes of the query box text.
struct QueryPlan {
    QString SearchMode; // "mod1", "mod3", "mod3a" or "mod4"
    QString TermsText;  // escaped text without the mode prefix
    QString SqlText;    // the statement, built piece by piece
    int TermIndex = 0;  // number of term clauses appended (no 16-bit limit)
};

// Removes every U+0020 at the start and at the end; nothing else (tabs,
// U+3000 and other control characters stay).
QString trimBlanks(const QString &text);

// Replaces every apostrophe by the eleven characters "'&chr(39)&'".
QString escapeApostrophes(const QString &text);

// Cuts text at every single U+0020. An empty text gives no piece at all;
// otherwise n blanks give n + 1 pieces, empty ones included.
QStringList splitTerms(const QString &text);

// Builds mode, terms text and statement from the already trimmed query text.
// Every text yields a statement; nothing is validated here.
QueryPlan buildQuery(const QString &trimmedText);
