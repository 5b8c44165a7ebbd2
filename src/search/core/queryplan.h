#pragma once

#include "blanks.h"

#include <QString>
#include <QStringList>

// How the query box text is searched, by its first character.
enum class SearchMode {
    ListAll,           // empty text: every record, newest first
    AllTermsWithMinus, // "-" prefix: every term must occur
    AllTerms,          // no prefix: every term must occur
    AnyTerm,           // "+" prefix: at least one term occurs
};

// The mode's name as the program stores and prints it: "mod1", "mod3",
// "mod3a" or "mod4".
QString searchModeText(SearchMode mode);

// What the first half of a search makes of the query box text.
struct QueryPlan {
    SearchMode mode = SearchMode::ListAll;
    QString TermsText;   // escaped text without the mode prefix
    QString SqlText;     // the statement, built piece by piece
    int clauseCount = 0; // number of term clauses appended (no 16-bit limit)
};

// Replaces every apostrophe by the eleven characters "'&chr(39)&'".
QString escapeApostrophes(const QString &text);

// Builds mode, terms text and statement from the already trimmed query text.
// Every text yields a statement; nothing is validated here.
QueryPlan buildQuery(const QString &trimmedText);
