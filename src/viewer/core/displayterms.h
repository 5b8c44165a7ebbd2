#pragma once

#include "blanks.h"

#include <QString>

// True for the modes whose query begins with a one-character prefix
// ("mod3", "mod4"; exact and case-sensitive); every other value, the empty
// one included, takes the first branch.
bool usesSecondBranch(const QString &lastMode);

// Terms text of the first branch: the query box text trimmed.
QString firstBranchTerms(const QString &queryText);

// Terms text of the second branch: the trimmed text without its first
// character, at most 100 UTF-16 units (positions 2 to 101). A surrogate pair
// is never split: a high surrogate at position 101 is left out, and so is a
// low surrogate at position 2 (what remains of a pair cut by the prefix).
QString secondBranchTerms(const QString &queryText);

// The terms text the record display hands to the page writer.
QString displayTerms(const QString &lastMode, const QString &queryText);

// Caption of the record-number label: "第" + row in decimal + "筆".
QString ctCaption(qint32 row);
