#pragma once

#include <QtGlobal>

#include <optional>

// The result-list row whose title the pointer tooltip shows.
// Takes rowHeight = RowHeight(1) and rowPos = RowPos(1) (twips), the pointer's
// y (twips, relative to the top of the list) and rows (the row count with the
// header row 0). Works in double precision: q = (-H * 1.5 + Y) / H when
// P >= H, else q = (H / 2 - P + Y) / H; c = q rounded to nearest, ties to
// even; r = |c + 1|. Returns r, or nothing when r >= rows or when c or c + 1
// leaves the 16-bit signed range (the tooltip then stays as it is).
std::optional<int> toolTipRow(qint32 rowHeight, qint32 rowPos, double y, qint32 rows);
