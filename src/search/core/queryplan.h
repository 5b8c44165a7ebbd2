#pragma once

#include "blanks.h"

#include <QString>
#include <QStringList>

// What the first half of a search makes of the query box text.
struct QueryPlan {
    QString SearchMode; // "mod1", "mod3", "mod3a" or "mod4"
    QString TermsText;  // escaped text without the mode prefix
    QString SqlText;    // the statement, built piece by piece
    int TermIndex = 0;  // number of term clauses appended (no 16-bit limit)
};

// Replaces every apostrophe by the eleven characters "'&chr(39)&'".
QString escapeApostrophes(const QString &text);

// Builds mode, terms text and statement from the already trimmed query text.
// Every text yields a statement; nothing is validated here.
QueryPlan buildQuery(const QString &trimmedText);
