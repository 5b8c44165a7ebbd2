#pragma once

#include <QString>

class ResultGrid;

// What a search run needs of the window that owns the result list.
class SearchHost {
public:
    virtual ~SearchHost() = default;

    // The window's result list (Grd1).
    virtual ResultGrid &resultGrid() = 0;
    // Stores the mode of a search that found rows (LastMode).
    virtual void setLastMode(const QString &mode) = 0;
    // Shows the record of the list's current row.
    virtual void Grd1_RowColChange() = 0;
};
