// Prints the median of 7 runs for: binding 300,000 rows to the result list,
// going to its last row and back, and a list-all search run over a
// 300,000-record jst.mdb (statement, then binding its rows). Run it with
// QT_QPA_PLATFORM=offscreen.

#include "bulkdatabase.h"
#include "messagebox.h"
#include "queryplan.h"
#include "resultgrid.h"
#include "searchrun.h"

#include <QApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {
constexpr int Count = 300000;

ResultRows makeRows()
{
    ResultRows rows;
    rows.reserve(Count);
    for (int k = Count; k >= 1; --k)
        rows.push_back({bulkTitle(k), QStringLiteral("p%1.htm").arg(k)});
    return rows;
}

double medianMs(const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int run = 0; run < 7; ++run) {
        prepare();
        const auto start = std::chrono::steady_clock::now();
        work();
        QApplication::processEvents();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    MessageBox::setObserver([](const QString &prompt, const QString &) {
        std::fprintf(stderr, "message: %s\n", prompt.toUtf8().constData());
    });
    ResultGrid grid;
    grid.resize(235, 475);
    grid.setColWidth(0, 3500);
    grid.setColWidth(1, 0);
    grid.show();

    ResultRows rows;
    const double bind = medianMs([&] { rows = makeRows(); }, [&] { grid.setDataSource(std::move(rows)); });
    const double scroll = medianMs([] {}, [&] { grid.setRow(grid.Rows() - 1); QApplication::processEvents(); grid.setRow(1); });

    QTemporaryDir dir;
    if (!writeBulkDatabase(dir.path(), Count))
        return 1;
    const DatabaseLocation location = DatabaseLocation::inFolder(dir.path());
    const QueryPlan plan = buildQuery(QString());
    const double run = medianMs([] {}, [&] {
        SearchOutcome outcome = runSearch(plan, location);
        if (outcome.end != SearchEnd::Rows) {
            MessageBox::show(outcome.message.isEmpty() ? failureReport(outcome.failure) : outcome.message);
            return;
        }
        grid.setDataSource(std::move(outcome.rows));
        grid.setRow(1);
        grid.setCol(1);
        grid.scrollToFirstRecord();
    });

    std::printf("rows: %d\nbind: %.1f ms\nlast row and back: %.1f ms\nlist-all search run: %.1f ms\n",
                grid.Rows() - 1, bind, scroll, run);
    return 0;
}
