#pragma once

// A small window that owns a result list the way the main window does and
// records every record display: whether the list's own event or the search
// run called it, and the LastMode and current cell it saw.

#include "resultgrid.h"
#include "searchhost.h"

#include <QLineEdit>
#include <QList>
#include <QWidget>

struct SeenDisplay {
    bool direct = false; // called by the search run, not by RowColChange
    QString lastMode;
    int row = 0;
    int col = 0;
};

class TestHost : public QWidget, public SearchHost {
public:
    TestHost()
    {
        resize(400, 500);
        box = new QLineEdit(this);
        box->setGeometry(10, 10, 230, 30);
        grid = new ResultGrid(this);
        grid->setGeometry(10, 50, 240, 400);
        QObject::connect(grid, &ResultGrid::RowColChange, this, [this] { record(false); });
    }

    ResultGrid &resultGrid() override { return *grid; }
    void setLastMode(const QString &mode) override { lastMode = mode; }
    void Grd1_RowColChange() override { record(true); }

    QLineEdit *box = nullptr;
    ResultGrid *grid = nullptr;
    QString lastMode;
    QList<SeenDisplay> displays;

private:
    void record(bool direct) { displays.append({direct, lastMode, grid->Row(), grid->Col()}); }
};
