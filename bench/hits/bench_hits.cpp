// F3 in the main window, from the key press until the view has drawn the
// next hit, on the sample collection whose first record's page is replaced
// by a page of about 20 MB with 15,000 marks, beside the same on a record's
// own (small) page. Prints medians over the presses.
//   QT_QPA_PLATFORM=offscreen QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu"
//   build/bench/hits/tamvex_bench_hits [PRESSES]
#include "mainwindowfixture.h"

#include "big5testing.h"
#include "pagehitview.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr int Hits = 15000;
constexpr qsizetype PageBytes = 20 * 1000 * 1000;

// Paragraphs of filler text, each with one 桂枝.
QByteArray bigPage()
{
    const QString filler = QStringLiteral(u"太陽病，頭痛發熱，汗出惡風者，主之。脈浮緩，身疼痛，");
    const qsizetype perHit = PageBytes / Hits;
    QString paragraph = QStringLiteral(u"<p>");
    while (big5(paragraph).size() < perHit - 40)
        paragraph += filler;
    paragraph += QStringLiteral(u"桂枝湯。</p>\r\n");
    QByteArray page = big5(QStringLiteral(u"<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; "
                                          u"charset=big5\"></head><body>\r\n"));
    const QByteArray one = big5(paragraph);
    for (int k = 0; k < Hits; ++k)
        page += one;
    page += "</body></html>\r\n";
    return page;
}

// Shows the current record; ms until its hits are located, loadedMs until
// the view had loaded the page (the rest is the hit script's search).
bool showRecord(FrmTamvexMain *main, double *ms, double *loadedMs = nullptr)
{
    QSignalSpy ready(main->pageHits(), &PageHitView::ready);
    QElapsedTimer clock;
    clock.start();
    double loaded = 0;
    const QMetaObject::Connection c = QObject::connect(main->LblDesc(), &QWebEngineView::loadFinished, main,
                                                       [&] { loaded = double(clock.nsecsElapsed()) / 1e6; });
    main->Grd1_RowColChange();
    const bool ok = ready.wait(300000);
    QObject::disconnect(c);
    *ms = double(clock.nsecsElapsed()) / 1e6;
    if (loadedMs)
        *loadedMs = loaded;
    return ok;
}

// Notes when the view's surface next paints (a frame of the page arrived).
class PaintWatch : public QObject {
public:
    bool painted = false;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

struct Presses {
    std::vector<double> drawn;   // until the script has scrolled and drawn the hit
    std::vector<double> painted; // until the view painted the frame after it
};

// Presses F3, timing each until the hit is drawn and until the next paint.
Presses pressF3(FrmTamvexMain *main, int presses)
{
    Presses times;
    PaintWatch watch;
    QWidget *surface = main->LblDesc()->focusProxy();
    if (surface)
        surface->installEventFilter(&watch);
    for (int k = 0; k < presses; ++k) {
        QSignalSpy shown(main->pageHits(), &PageHitView::shown);
        QElapsedTimer clock;
        clock.start();
        QTest::keyClick(main->Grd1(), Qt::Key_F3);
        if (shown.isEmpty() && !shown.wait(10000))
            break;
        times.drawn.push_back(double(clock.nsecsElapsed()) / 1e6);
        watch.painted = false;
        while (surface && !watch.painted && clock.elapsed() < 2000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        if (watch.painted)
            times.painted.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.drawn.begin(), times.drawn.end());
    std::sort(times.painted.begin(), times.painted.end());
    return times;
}

double median(const std::vector<double> &times)
{
    return times.empty() ? 0 : times[times.size() / 2];
}

void print(const char *what, const Presses &times, int hits)
{
    if (times.drawn.empty()) {
        std::printf("%-26s no hit was drawn\n", what);
        return;
    }
    std::printf("%-26s hits %5d  presses %4zu  drawn: median %6.2f ms, max %6.2f ms;"
                "  painted (%zu): median %6.2f ms, max %6.2f ms\n",
                what, hits, times.drawn.size(), median(times.drawn), times.drawn.back(), times.painted.size(),
                median(times.painted), times.painted.empty() ? 0 : times.painted.back());
}
}

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int presses = argc > 1 ? std::max(1, atoi(argv[1])) : 101;
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    if (!main || !MainWindowFixture::waitForPage(main))
        return 1;
    main->TxtQuery()->setEditText(QStringLiteral(u"桂枝"));
    QTest::keyClick(main->TxtQuery(), Qt::Key_Return);
    double loadMs = 0;
    if (!showRecord(main, &loadMs))
        return 1;
    // A record's own page beside it: the one with the most hits.
    int most = 1;
    int mostHits = 0;
    for (int row = 1; row < main->Grd1()->Rows(); ++row) {
        main->Grd1()->setRow(row);
        if (!showRecord(main, &loadMs))
            return 1;
        if (main->pageHits()->hits().count() > mostHits) {
            mostHits = main->pageHits()->hits().count();
            most = row;
        }
    }
    main->Grd1()->setRow(most);
    if (!showRecord(main, &loadMs))
        return 1;
    const int smallHits = main->pageHits()->hits().count();
    const Presses small = pressF3(main, presses);

    const QByteArray page = bigPage();
    QFile file(recordPagePath(fixture.folder(), main->Grd1()->TextMatrix(main->Grd1()->Row(), 1)));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(page) != page.size())
        return 1;
    file.close();
    double loadedMs = 0;
    if (!showRecord(main, &loadMs, &loadedMs))
        return 1;
    const int bigHits = main->pageHits()->hits().count();
    std::printf("page %.1f MB, %d hits, %d found in the view; marked, written and loaded in %.0f ms,"
                " hits located %.0f ms later\n",
                double(page.size()) / 1e6, bigHits, main->pageHits()->located(), loadedMs, loadMs - loadedMs);
    const Presses big = pressF3(main, presses);
    print("F3, a record's own page", small, smallHits);
    print("F3, 20 MB page", big, bigHits);
    if (!small.drawn.empty() && !big.drawn.empty())
        std::printf("ratio of the medians (20 MB / own page): drawn %.2f, painted %.2f\n",
                    median(big.drawn) / median(small.drawn),
                    median(small.painted) > 0 ? median(big.painted) / median(small.painted) : 0.0);
    return 0;
}
