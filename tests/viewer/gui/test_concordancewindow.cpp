#include "mainwindowfixture.h"

#include "concordancemodel.h"
#include "frmconcordance.h"
#include "pagehitview.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>

class TestConcordanceWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void f9WithoutTermsShowsTheMessageOnly();
    void f9OpensTheLinesOfTheListedQuery();
    void doubleClickAndEnterMakeTheRecordCurrent();
    void filterCountExportAndCopy();

private:
    FrmConcordance *search(const QString &query);

    std::unique_ptr<MainWindowFixture> m_fixture;
    FrmTamvexMain *m_main = nullptr;
};

void TestConcordanceWindow::init()
{
    m_fixture = std::make_unique<MainWindowFixture>();
    m_main = m_fixture->openMainWindow();
    QVERIFY(m_main);
}

void TestConcordanceWindow::cleanup()
{
    m_fixture.reset();
    m_main = nullptr;
}

// Searches with Enter, then F9 in the result list.
FrmConcordance *TestConcordanceWindow::search(const QString &query)
{
    m_main->TxtQuery()->setEditText(query);
    QTest::keyClick(m_main->TxtQuery(), Qt::Key_Return);
    QTest::keyClick(m_main->Grd1(), Qt::Key_F9);
    return m_main->findChild<FrmConcordance *>();
}

void TestConcordanceWindow::f9WithoutTermsShowsTheMessageOnly()
{
    // The first search lists every record: nothing to look for.
    QTest::keyClick(m_main->Grd1(), Qt::Key_F9);
    QCOMPARE(m_fixture->messages.size(), 1);
    QVERIFY(m_fixture->messages.first().prompt.contains(u"F9"_qs));
    auto *window = m_main->findChild<FrmConcordance *>();
    QVERIFY(!window || !window->isVisible());
}

void TestConcordanceWindow::f9OpensTheLinesOfTheListedQuery()
{
    FrmConcordance *window = search(u"桂枝"_qs);
    QVERIFY(window);
    QVERIFY(window->isVisible());
    QVERIFY(m_fixture->messages.isEmpty());
    const Concordance *c = window->model()->concordance();
    QVERIFY(c && !c->lines.empty());
    // Every line's record is the list's row of that number.
    for (const Concordance::Record &record : c->records) {
        QCOMPARE(m_main->Grd1()->TextMatrix(record.resultRow, 0), record.subject);
        QCOMPARE(m_main->Grd1()->TextMatrix(record.resultRow, 1), record.htm);
    }
    for (const Concordance::Line &line : c->lines)
        QCOMPARE(line.hit().toString(), u"桂枝"_qs);
    QVERIFY(window->countLabel()->text().contains(QString::number(c->lines.size())));
    // A new search and F9 again: the same window, the new query.
    QCOMPARE(search(u"麻黃"_qs), window);
    QVERIFY(window->model()->concordance()->lines.front().hit() == u"麻黃"_qs);
    // Closing the main window closes its concordance too: no window stays loaded.
    m_main->Unload();
    QVERIFY(!window->isLoaded() && !window->isVisible());
    QCOMPARE(Forms::loadedCount(), 0);
}

void TestConcordanceWindow::doubleClickAndEnterMakeTheRecordCurrent()
{
    FrmConcordance *window = search(u"桂枝"_qs);
    QVERIFY(window);
    QTableView *list = window->lineList();
    const ConcordanceModel *model = window->model();
    // A line further down the list than row 1, not its record's first one.
    const auto earlierLinesOf = [model](int row) {
        int earlier = 0;
        for (int i = 0; i < row; ++i)
            earlier += model->lineAt(i)->record == model->lineAt(row)->record ? 1 : 0;
        return earlier;
    };
    int row = model->rowCount() - 1;
    while (row > 0 && earlierLinesOf(row) == 0)
        --row;
    const int expected = model->concordance()->records[model->lineAt(row)->record].resultRow;
    QVERIFY(expected > 1);
    const QModelIndex cell = model->index(row, ConcordanceModel::HitColumn);
    list->scrollTo(cell);
    // A double-click as the system delivers it: a click, then the second press.
    const QPoint at = list->visualRect(cell).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(m_main->Grd1()->Row(), 1); // a single click only selects
    QSignalSpy shown(m_main->pageHits(), &PageHitView::shown);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(m_main->Grd1()->Row(), expected);
    QCOMPARE(m_main->ct()->text(), u"第"_qs + QString::number(expected) + u"筆"_qs);
    QCOMPARE(m_main->navigatedPath(), FrmTamvexMainTesting::TempPagePath(m_main));

    // The page's current hit is that occurrence: with one term every mark is
    // 桂枝, so it is the mark of the record's earlier lines' count (or the
    // page's last mark, where the page holds fewer than the content).
    const int earlierLines = earlierLinesOf(row);
    QVERIFY(earlierLines > 0);
    QVERIFY(shown.size() > 0 || shown.wait(10000));
    const PageHits &hits = m_main->pageHits()->hits();
    QVERIFY(hits.count() > 0);
    const int expectedHit = qMin(earlierLines, hits.count() - 1);
    QCOMPARE(shown.last().first().toInt(), expectedHit);
    QCOMPARE(hits.current(), expectedHit);
    QCOMPARE(hits.hit(expectedHit).text, u"桂枝"_qs);
    // F3 goes on from there.
    shown.clear();
    QTest::keyClick(m_main->Grd1(), Qt::Key_F3);
    QVERIFY(shown.size() > 0 || shown.wait(5000));
    QCOMPARE(hits.current(), (expectedHit + 1) % hits.count());

    // What the page's current hit is to be told: the record's earlier lines
    // with the same text.
    QSignalSpy activated(window, &FrmConcordance::lineActivated);
    window->activateRow(row);
    QCOMPARE(activated.size(), 1);
    int sameBefore = 0;
    for (int i = 0; i < row; ++i)
        sameBefore += model->lineAt(i)->record == model->lineAt(row)->record ? 1 : 0;
    QCOMPARE(activated.first().at(3).toInt(), int(model->lineAt(row)->occurrence));
    QCOMPARE(activated.first().at(3).toInt(), sameBefore); // one term: every occurrence has its text
    QCOMPARE(activated.first().at(5).toInt(), sameBefore);

    // Enter on the first line: row 1 again.
    window->Show();
    list->setFocus();
    list->setCurrentIndex(model->index(0, 0));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(m_main->Grd1()->Row(), model->concordance()->records[model->lineAt(0)->record].resultRow);
}

void TestConcordanceWindow::filterCountExportAndCopy()
{
    FrmConcordance *window = search(u"桂枝"_qs);
    QVERIFY(window);
    const std::size_t all = window->model()->concordance()->lines.size();
    window->filterBox()->setText(u"桂枝湯"_qs); // as typed: the view follows each change
    const int kept = window->model()->rowCount();
    QVERIFY(kept > 0 && std::size_t(kept) < all);
    for (int i = 0; i < kept; ++i) {
        const Concordance::Line *line = window->model()->lineAt(i);
        QVERIFY(line->text().contains(u"桂枝湯"_qs)
                || window->model()->concordance()->records[line->record].subject.contains(u"桂枝湯"_qs));
    }
    QVERIFY(window->countLabel()->text().contains(QString::number(kept)));

    const QString path = m_fixture->folder() + u"/lines.csv"_qs;
    QVERIFY(window->exportTo(path));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = file.readAll().split('\n');
    QCOMPARE(rows.size(), kept + 2); // header, the lines, and the empty piece after the last CR LF
    QVERIFY(!window->exportTo(m_fixture->folder() + u"/no/such/lines.tsv"_qs));
    QCOMPARE(m_fixture->messages.size(), 1);

    window->lineList()->selectRow(0);
    window->copySelection();
    const QString copied = QApplication::clipboard()->text();
    QCOMPARE(copied.count(QLatin1Char('\n')), 1);
    QCOMPARE(copied.split(QLatin1Char('\t')).size(), 5);
}

QTEST_MAIN(TestConcordanceWindow)
#include "test_concordancewindow.moc"
