#include "searchrun.h"

#include "contentdatabase.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "resultgrid.h"
#include "searchhost.h"
#include "searchmessages.h"

namespace {
// A list-all search keeps the first row whose title is not below the terms
// text. The terms text of a list-all is empty, so that is row 1; the loop is
// kept so that the rule stays visible and holds for any terms text.
int firstRowNotBelow(const ResultGrid &grid, const QString &termsText)
{
    const int n = grid.Rows() - 2;
    int i = 1;
    while (i <= n && !(termsText <= grid.TextMatrix(i, 0)))
        ++i;
    return i;
}

void finishListAll(ResultGrid &grid, const QString &termsText)
{
    grid.setRow(firstRowNotBelow(grid, termsText));
    // The first list-all runs while the window is still being loaded; a
    // focus request then would go to a window that is not on screen.
    if (grid.Visible())
        grid.SetFocus();
    grid.setRow(1);
    grid.scrollToFirstRecord();
}
}

SearchOutcome runSearchIntoGrid(const QueryPlan &plan, const QString &connectionString, SearchHost &host)
{
    Result<ResultRows> rows = ContentDatabase::runStatement(DatabaseLocation{modTamvex::dataSourceOf(connectionString), QString()}, plan.SqlText);
    if (!rows) {
        MessageBox::showFailure(rows.failure());
        return SearchOutcome::Failed;
    }
    if (rows->empty()) {
        MessageBox::show(noResultMessage(plan.TermsText));
        return SearchOutcome::NoRows;
    }

    ResultGrid &grid = host.resultGrid();
    grid.setDataSource(std::move(rows).value());
    grid.setTextArray(0, QStringLiteral(u" 內容標題 或 查詢結果"));
    grid.setTextArray(1, QStringLiteral(u"位置"));
    grid.setRow(1);
    grid.setCol(1);
    if (plan.SearchMode == QLatin1String("mod1"))
        finishListAll(grid, plan.TermsText);
    else
        grid.SetFocus();
    host.setLastMode(plan.SearchMode);
    host.Grd1_RowColChange();
    return SearchOutcome::Rows;
}
