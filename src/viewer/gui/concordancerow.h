#pragma once

#include <QString>

class ResultGrid;

// True for the key that opens the concordance window (F9, with or without
// modifiers).
bool isConcordanceKey(int key);

// The result list row of a concordance line's record: expectedRow when it
// still holds that title and page, else the first row that does (the list
// was filled anew), else 0.
int concordanceRow(const ResultGrid &grid, int expectedRow, const QString &subject, const QString &htm);
