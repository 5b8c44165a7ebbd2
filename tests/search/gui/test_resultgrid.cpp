#include "resultgrid.h"
#include "twips.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {
ResultRows numberedRows(int count)
{
    ResultRows rows;
    rows.reserve(static_cast<size_t>(count));
    for (int k = 1; k <= count; ++k)
        rows.push_back({QStringLiteral(u"標題%1").arg(k), QStringLiteral("p%1.htm").arg(k)});
    return rows;
}

int twips(int pixels, const QWidget *widget)
{
    return static_cast<int>(std::lround(Twips::fromPixels(pixels, widget)));
}
}

using GridAction = std::function<void(ResultGrid &)>;
Q_DECLARE_METATYPE(GridAction)

class TestResultGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void asCreatedHoldsHeaderAndOneEmptyRow();
    void bindingReplacesRowsAndResetsCurrentCellQuietly();
    void bindingKeepsColumnWidths();
    void textArrayAddressesCellsByFlatIndex();
    void currentCellChanges_data();
    void currentCellChanges();
    void rowGeometryInTwips();
    void rowGeometryWhenScrolled();
    void pointerMovesInTwips_data();
    void pointerMovesInTwips();
    void placementInTwips();

private:
    std::unique_ptr<ResultGrid> m_grid;
};

void TestResultGrid::init()
{
    m_grid = std::make_unique<ResultGrid>();
    m_grid->resize(240, 300);
}

void TestResultGrid::cleanup()
{
    m_grid.reset();
}

void TestResultGrid::asCreatedHoldsHeaderAndOneEmptyRow()
{
    QCOMPARE(m_grid->Rows(), 2);
    QCOMPARE(m_grid->Cols(), 2);
    QCOMPARE(m_grid->Row(), 1);
    QCOMPARE(m_grid->Col(), 0);
    QCOMPARE(m_grid->TextMatrix(1, 0), QString());
    QCOMPARE(m_grid->font().family(), QStringLiteral("Arial"));
    QCOMPARE(m_grid->font().pointSizeF(), 14.25);
    QVERIFY(m_grid->verticalHeader()->isHidden());
}

void TestResultGrid::bindingReplacesRowsAndResetsCurrentCellQuietly()
{
    m_grid->setDataSource(numberedRows(10));
    QVERIFY(m_grid->setRow(7));
    QVERIFY(m_grid->setCol(1));
    QSignalSpy changes(m_grid.get(), &ResultGrid::RowColChange);

    m_grid->setDataSource(numberedRows(3));
    QCOMPARE(m_grid->Rows(), 4);
    QCOMPARE(m_grid->TextMatrix(3, 0), QStringLiteral(u"標題3"));
    QCOMPARE(m_grid->TextMatrix(3, 1), QStringLiteral("p3.htm"));
    QCOMPARE(m_grid->TextMatrix(4, 0), QString());
    QCOMPARE(m_grid->Row(), 1);
    QCOMPARE(m_grid->Col(), 0);
    QCOMPARE(m_grid->currentIndex().row(), 0);
    QCOMPARE(changes.count(), 0);

    // An empty source still leaves a record row to stand on.
    m_grid->setDataSource({});
    QCOMPARE(m_grid->Rows(), 2);
    QCOMPARE(m_grid->Row(), 1);
}

void TestResultGrid::bindingKeepsColumnWidths()
{
    QVERIFY(m_grid->setColWidth(0, 3500));
    QVERIFY(m_grid->setColWidth(1, 0));
    for (int round = 0; round < 2; ++round) {
        m_grid->setDataSource(numberedRows(5 + round));
        QVERIFY(m_grid->isColumnHidden(1));
        QVERIFY(!m_grid->isColumnHidden(0));
        QCOMPARE(m_grid->columnWidth(0), Twips::toPixels(3500, m_grid.get()));
        QCOMPARE(m_grid->ColWidth(0), 3500);
        QCOMPARE(m_grid->ColWidth(1), 0);
    }
    QVERIFY(!m_grid->setColWidth(2, 100));
}

void TestResultGrid::textArrayAddressesCellsByFlatIndex()
{
    m_grid->setDataSource(numberedRows(2));
    QVERIFY(m_grid->setTextArray(0, QStringLiteral(u" 內容標題 或 查詢結果")));
    QVERIFY(m_grid->setTextArray(1, QStringLiteral(u"位置")));
    QVERIFY(m_grid->setTextArray(5, QStringLiteral("x.htm")));
    QCOMPARE(m_grid->TextMatrix(0, 0), QStringLiteral(u" 內容標題 或 查詢結果"));
    QCOMPARE(m_grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral(u" 內容標題 或 查詢結果"));
    QCOMPARE(m_grid->TextMatrix(0, 1), QStringLiteral(u"位置"));
    QCOMPARE(m_grid->TextMatrix(2, 1), QStringLiteral("x.htm"));
    QCOMPARE(m_grid->TextMatrix(2, 0), QStringLiteral(u"標題2"));
    QVERIFY(!m_grid->setTextArray(6, QStringLiteral("beyond")));
    QVERIFY(!m_grid->setTextArray(-1, QStringLiteral("before")));
}

void TestResultGrid::currentCellChanges_data()
{
    QTest::addColumn<int>("startRow");
    QTest::addColumn<GridAction>("action");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("raised");

    auto key = [](Qt::Key k) { return GridAction([k](ResultGrid &g) { QTest::keyClick(&g, k); }); };
    auto row = [](int r) { return GridAction([r](ResultGrid &g) { g.setRow(r); }); };
    auto col = [](int c) { return GridAction([c](ResultGrid &g) { g.setCol(c); }); };

    QTest::newRow("down key") << 1 << key(Qt::Key_Down) << 2 << 1 << 1;
    QTest::newRow("up key") << 5 << key(Qt::Key_Up) << 4 << 1 << 1;
    QTest::newRow("up key stays off the header") << 1 << key(Qt::Key_Up) << 1 << 1 << 0;
    QTest::newRow("down key at the last row") << 40 << key(Qt::Key_Down) << 40 << 1 << 0;
    QTest::newRow("end key") << 3 << key(Qt::Key_End) << 40 << 1 << 1;
    QTest::newRow("home key") << 30 << key(Qt::Key_Home) << 1 << 1 << 1;
    QTest::newRow("page down stops at the last row") << 39 << key(Qt::Key_PageDown) << 40 << 1 << 1;
    QTest::newRow("page up stops at row 1") << 2 << key(Qt::Key_PageUp) << 1 << 1 << 1;
    QTest::newRow("left key to the visible column") << 4 << key(Qt::Key_Left) << 4 << 0 << 1;
    QTest::newRow("typing does not move") << 4 << key(Qt::Key_X) << 4 << 1 << 0;
    QTest::newRow("row set to another value") << 4 << row(9) << 9 << 1 << 1;
    QTest::newRow("row set to the same value") << 4 << row(4) << 4 << 1 << 0;
    QTest::newRow("row set to the header") << 4 << row(0) << 0 << 1 << 1;
    QTest::newRow("row beyond the list is refused") << 4 << row(41) << 4 << 1 << 0;
    QTest::newRow("col set to another value") << 4 << col(0) << 4 << 0 << 1;
    QTest::newRow("col set to the same value") << 4 << col(1) << 4 << 1 << 0;
    QTest::newRow("click on a row") << 1
        << GridAction([](ResultGrid &g) {
               const QRect cell = g.visualRect(g.model()->index(2, 0));
               QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, cell.center());
           })
        << 3 << 0 << 1;
}

void TestResultGrid::currentCellChanges()
{
    QFETCH(int, startRow);
    QFETCH(GridAction, action);
    m_grid->setColWidth(0, 3500);
    m_grid->setColWidth(1, 0);
    m_grid->setDataSource(numberedRows(40));
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    m_grid->setRow(startRow);
    m_grid->setCol(1);
    QSignalSpy changes(m_grid.get(), &ResultGrid::RowColChange);

    action(*m_grid);
    QTEST(m_grid->Row(), "row");
    QTEST(m_grid->Col(), "col");
    QTEST(static_cast<int>(changes.count()), "raised");
}

void TestResultGrid::rowGeometryInTwips()
{
    m_grid->setDataSource(numberedRows(5));
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    const int h = m_grid->rowHeight(0);
    QCOMPARE(m_grid->horizontalHeader()->height(), h);
    QCOMPARE(m_grid->RowHeight(1), twips(h, m_grid.get()));
    QCOMPARE(m_grid->RowHeight(0), m_grid->RowHeight(1));
    // Unscrolled, row 1 starts right under the header.
    QCOMPARE(m_grid->RowPos(1), m_grid->RowHeight(1));
    QCOMPARE(m_grid->RowPos(3), 3 * m_grid->RowHeight(1));
    QCOMPARE(m_grid->RowPos(0), 0);
    QVERIFY(m_grid->RowHeight(1) > 0);
}

void TestResultGrid::rowGeometryWhenScrolled()
{
    m_grid->setDataSource(numberedRows(200));
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    QTest::keyClick(m_grid.get(), Qt::Key_End);
    const int top = m_grid->rowAt(0); // model row at the viewport's top
    QVERIFY(top > 10);
    const int h = m_grid->RowHeight(1);
    const int header = m_grid->horizontalHeader()->height();
    for (int row : {top, 199}) {
        const QRect cell = m_grid->visualRect(m_grid->model()->index(row, 0));
        QCOMPARE(m_grid->RowPos(row + 1), twips(header + cell.top(), m_grid.get()));
    }
    QCOMPARE(m_grid->RowPos(1), m_grid->RowPos(top + 1) - top * h);
    QVERIFY(m_grid->RowPos(1) < 0);

    m_grid->scrollToFirstRecord();
    QCOMPARE(m_grid->RowPos(1), h);
}

void TestResultGrid::pointerMovesInTwips_data()
{
    QTest::addColumn<bool>("overHeader");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<Qt::MouseButtons>("buttons");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("shift");

    QTest::newRow("over the header") << true << QPoint(7, 3) << Qt::MouseButtons() << Qt::KeyboardModifiers() << 0 << 0;
    QTest::newRow("over a record row") << false << QPoint(20, 50) << Qt::MouseButtons() << Qt::KeyboardModifiers() << 0 << 0;
    QTest::newRow("left button with shift") << false << QPoint(1, 1) << Qt::MouseButtons(Qt::LeftButton)
                                            << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1 << 1;
    QTest::newRow("right and middle with ctrl and alt")
        << false << QPoint(5, 5) << (Qt::RightButton | Qt::MiddleButton)
        << (Qt::ControlModifier | Qt::AltModifier) << 6 << 6;
}

void TestResultGrid::pointerMovesInTwips()
{
    QFETCH(bool, overHeader);
    QFETCH(QPoint, at);
    QFETCH(Qt::MouseButtons, buttons);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    m_grid->setDataSource(numberedRows(20));
    m_grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_grid.get()));
    QSignalSpy moves(m_grid.get(), &ResultGrid::MouseMove);

    QWidget *surface = overHeader ? m_grid->horizontalHeader()->viewport() : m_grid->viewport();
    if (buttons == Qt::NoButton && modifiers == Qt::NoModifier) {
        QTest::mouseMove(surface, at); // reaches the list only with tracking on
    } else {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), surface->mapToGlobal(QPointF(at)), Qt::NoButton, buttons, modifiers);
        QApplication::sendEvent(surface, &move);
    }
    QCOMPARE(moves.count(), 1);
    const double perPixel = Twips::perPixel(m_grid.get());
    const int headerHeight = overHeader ? 0 : m_grid->horizontalHeader()->height();
    QTEST(moves[0][0].toInt(), "button");
    QTEST(moves[0][1].toInt(), "shift");
    QCOMPARE(moves[0][2].toDouble(), at.x() * perPixel);
    QCOMPARE(moves[0][3].toDouble(), (at.y() + headerHeight) * perPixel);
}

void TestResultGrid::placementInTwips()
{
    QWidget window;
    m_grid->setParent(&window);
    m_grid->setLeft(200);
    m_grid->setWidth(3520);
    QCOMPARE(m_grid->x(), Twips::toPixels(200, m_grid.get()));
    QCOMPARE(m_grid->width(), Twips::toPixels(3520, m_grid.get()));
    QCOMPARE(m_grid->Left(), Twips::fromPixels(m_grid->x(), m_grid.get()));
    m_grid->setScrollBars(2);
    QCOMPARE(m_grid->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    QCOMPARE(m_grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    m_grid->setToolTipText(QStringLiteral(u"標題"));
    QCOMPARE(m_grid->ToolTipText(), QStringLiteral(u"標題"));
    m_grid->setParent(nullptr);
}

QTEST_MAIN(TestResultGrid)
#include "test_resultgrid.moc"
