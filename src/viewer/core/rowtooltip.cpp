#include "rowtooltip.h"

#include <cmath>
#include <cstdlib>

namespace {
// Explicit ties-to-even, so the result does not hang on the floating-point
// environment's rounding mode.
double roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return lower + 1;
    if (fraction < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}
}

std::optional<int> toolTipRow(qint32 rowHeight, qint32 rowPos, double y, qint32 rows)
{
    const double h = rowHeight;
    double q;
    if (rowPos >= rowHeight)
        q = ((-h) * 1.5 + y) / h;
    else
        q = ((h / 2 - rowPos) + y) / h;
    if (!std::isfinite(q))
        return std::nullopt;
    const double c = roundHalfEven(q);
    // c + 1 must fit as well; c = -32768 gives c + 1 = -32767, still in range.
    if (c < -32768.0 || c > 32766.0)
        return std::nullopt;
    const int row = std::abs(int(c) + 1);
    if (row >= rows)
        return std::nullopt;
    return row;
}
