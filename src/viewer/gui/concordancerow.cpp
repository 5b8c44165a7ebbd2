#include "concordancerow.h"

#include "resultgrid.h"

#include <Qt>

bool isConcordanceKey(int key)
{
    return (key & ~int(Qt::KeyboardModifierMask)) == Qt::Key_F9;
}

int concordanceRow(const ResultGrid &grid, int expectedRow, const QString &subject, const QString &htm)
{
    const auto holds = [&](int row) { return grid.TextMatrix(row, 0) == subject && grid.TextMatrix(row, 1) == htm; };
    if (expectedRow >= 1 && expectedRow < grid.Rows() && holds(expectedRow))
        return expectedRow;
    for (int row = 1; row < grid.Rows(); ++row)
        if (holds(row))
            return row;
    return 0;
}
