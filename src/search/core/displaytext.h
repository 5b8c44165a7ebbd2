#pragma once

#include <QString>

// How much of a title a list cell or a tooltip shows: far more than any
// window can hold, far less than the megabytes a damaged or hostile
// catalogue may put in one title (laying out such a text costs seconds on
// every hover).
inline constexpr qsizetype ListCellCharacters = 1000;
inline constexpr qsizetype ToolTipCharacters = 500;

// text, or for a text longer than maxCharacters UTF-16 units its first
// maxCharacters units (one fewer where that would split a surrogate pair)
// followed by "…". For display only: the data itself stays whole.
QString cutForDisplay(const QString &text, qsizetype maxCharacters);
