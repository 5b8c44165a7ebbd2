// FrmTamvexMain::RunSearch on a real window and a real jst.mdb: what the
// list, LastMode and the record display show after each kind of ending.

#include "bulkdatabase.h"
#include "frmtamvexmain.h"
#include "frmtamvexmaintesting.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "programfolder.h"
#include "resultgrid.h"
#include "testdatabase.h"
#include "twips.h"

#include <QComboBox>
#include <QHeaderView>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Message {
    QString prompt;
    QString caption;
};

const QString LoadCaption = QStringLiteral(u"內容標題 或 查詢結果");
const QString SearchCaption = QStringLiteral(u" 內容標題 或 查詢結果");

// How a search ended, as the reader can tell.
enum class Ending { Rows, NoRows, Failed };

struct SeenDisplay {
    bool direct = false; // called by the search run, not by RowColChange
    QString lastMode;
    int row = 0;
    int col = 0;
};

// The main window, recording every record display: whether the list's own
// event or the search run called it, and the LastMode and current cell it
// saw.
class WatchedMain : public FrmTamvexMain {
public:
    void Grd1_RowColChange() override
    {
        // sender() is the list when its RowColChange signal made the call.
        displays.append({sender() == nullptr, FrmTamvexMainTesting::LastMode(this), Grd1()->Row(), Grd1()->Col()});
        FrmTamvexMain::Grd1_RowColChange();
    }

    QList<SeenDisplay> displays;
};
}

class TestSearchRun : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void rowsFillTheListAndDisplayLast_data();
    void rowsFillTheListAndDisplayLast();
    void noRowsLeavesThePreviousResult_data();
    void noRowsLeavesThePreviousResult();
    void emptyTableAtStartUpKeepsTheLoadCaption();
    void failureIsReportedOnceAndChangesNothing_data();
    void failureIsReportedOnceAndChangesNothing();
    void focusGoesToTheListUnlessAListAllRunsHidden_data();
    void focusGoesToTheListUnlessAListAllRunsHidden();
    void searchesKeepThePagePathHidden();
    void listAllOfManyRecordsEndsAtTheTop();
    void hugeTitleIsCutForDisplayOnly();

private:
    Ending search(const QString &box, const QString &folder = QString());
    void loadLikeTheWindow();
    QString &lastMode() { return FrmTamvexMainTesting::LastMode(m_main.get()); }

    QTemporaryDir m_dir;
    std::unique_ptr<WatchedMain> m_main;
    QList<Message> m_messages;
};

void TestSearchRun::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeTestDatabase(m_dir.path(), standardRecords()));
    // The record display writes its page below the program folder.
    setProgramFolderOverride(m_dir.path());
}

void TestSearchRun::cleanupTestCase()
{
    setProgramFolderOverride(QString());
    modTamvex::ConnectionString.clear();
}

void TestSearchRun::init()
{
    m_messages.clear();
    MessageBox::setObserver([this](const QString &prompt, const QString &caption) {
        m_messages.append({prompt, caption});
    });
    m_main = std::make_unique<WatchedMain>();
    loadLikeTheWindow();
}

void TestSearchRun::cleanup()
{
    m_main.reset();
    MessageBox::setObserver({});
}

// What the window's load step does to its list before the first search; the
// load step itself is left out, since it runs a search of its own.
void TestSearchRun::loadLikeTheWindow()
{
    ResultGrid &grid = *m_main->Grd1();
    grid.setColWidth(0, 3500);
    grid.setColWidth(1, 0);
    grid.setScrollBars(2);
    grid.setTextArray(0, LoadCaption);
    FrmTamvexMainTesting::TempPagePath(m_main.get()) = m_dir.path() + u"/tmp/TmpVORNAX.htm"_qs;
}

Ending TestSearchRun::search(const QString &box, const QString &folder)
{
    modTamvex::ConnectionString = modTamvex::makeConnectionString(folder.isEmpty() ? m_dir.path() : folder);
    m_main->TxtQuery()->setEditText(box);
    const qsizetype shown = m_messages.size();
    if (!m_main->RunSearch())
        return Ending::Failed;
    return m_messages.size() > shown ? Ending::NoRows : Ending::Rows;
}

void TestSearchRun::rowsFillTheListAndDisplayLast_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QStringList>("titles"); // empty: only the count is known
    QTest::addColumn<int>("count");

    QTest::newRow("list all") << QString() << u"mod1"_qs << QStringList() << 7;
    QTest::newRow("all terms") << u"發熱"_qs << u"mod3a"_qs << QStringList{u"溫病 發熱"_qs, u"傷寒論 發熱"_qs} << 2;
    QTest::newRow("all terms with minus") << u"-發熱 頭痛"_qs << u"mod3"_qs << QStringList{u"傷寒論 發熱"_qs} << 1;
    QTest::newRow("any term") << u"+惡風 渴"_qs << u"mod4"_qs << QStringList() << 2;
}

void TestSearchRun::rowsFillTheListAndDisplayLast()
{
    QFETCH(QString, box);
    QFETCH(QString, mode);
    QFETCH(QStringList, titles);
    QFETCH(int, count);
    lastMode() = u"before"_qs;

    QCOMPARE(search(box), Ending::Rows);
    const ResultGrid &grid = *m_main->Grd1();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(grid.Rows(), count + 1);
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(grid.TextMatrix(i + 1, 0), titles[i]);
    QCOMPARE(grid.TextMatrix(0, 0), SearchCaption);
    QCOMPARE(grid.TextMatrix(0, 1), u"位置"_qs);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(lastMode(), mode);

    // The run's own display comes last and sees the new mode; the ones the
    // list raised on the way saw the old one.
    QVERIFY(!m_main->displays.isEmpty());
    const SeenDisplay last = m_main->displays.takeLast();
    QVERIFY(last.direct);
    QCOMPARE(last.lastMode, mode);
    QCOMPARE(last.row, 1);
    QCOMPARE(last.col, 1);
    for (const SeenDisplay &earlier : std::as_const(m_main->displays)) {
        QVERIFY(!earlier.direct);
        QCOMPARE(earlier.lastMode, u"before"_qs);
    }
}

void TestSearchRun::noRowsLeavesThePreviousResult_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("message");

    QTest::newRow("plus alone") << u"+"_qs << u" 全文檢索搜尋\u3000[  ]\u3000資料不存在"_qs;
    QTest::newRow("apostrophe shown escaped") << u"it's"_qs << u" 全文檢索搜尋\u3000[ it'&chr(39)&'s ]\u3000資料不存在"_qs;
    QTest::newRow("prefix not shown") << u"-咳嗽 發熱"_qs << u" 全文檢索搜尋\u3000[ 咳嗽 發熱 ]\u3000資料不存在"_qs;
}

void TestSearchRun::noRowsLeavesThePreviousResult()
{
    QFETCH(QString, box);
    QCOMPARE(search(u"+發熱 頭痛"_qs), Ending::Rows);
    ResultGrid &grid = *m_main->Grd1();
    QVERIFY(grid.setRow(2));
    const QStringList before{grid.TextMatrix(1, 0), grid.TextMatrix(2, 0), grid.TextMatrix(3, 0)};
    m_main->displays.clear();

    QCOMPARE(search(box), Ending::NoRows);
    QCOMPARE(m_messages.size(), 1);
    QTEST(m_messages[0].prompt, "message");
    QCOMPARE(m_messages[0].caption, productLabel());
    QCOMPARE(grid.Rows(), 4);
    QCOMPARE((QStringList{grid.TextMatrix(1, 0), grid.TextMatrix(2, 0), grid.TextMatrix(3, 0)}), before);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(lastMode(), u"mod4"_qs);
    QVERIFY(m_main->displays.isEmpty());
}

void TestSearchRun::emptyTableAtStartUpKeepsTheLoadCaption()
{
    QTemporaryDir empty;
    QVERIFY(writeTestDatabase(empty.path(), {}));
    QCOMPARE(search(QString(), empty.path()), Ending::NoRows);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].prompt, u" 全文檢索搜尋\u3000[  ]\u3000資料不存在"_qs);
    QCOMPARE(m_main->Grd1()->TextMatrix(0, 0), LoadCaption);
    QCOMPARE(m_main->Grd1()->Rows(), 2);
    QVERIFY(lastMode().isEmpty());
    QVERIFY(m_main->displays.isEmpty());
}

void TestSearchRun::failureIsReportedOnceAndChangesNothing_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("missingDatabase");
    QTest::addColumn<int>("number");

    QTest::newRow("missing database") << QString() << true << FailureNumber::DatabaseOpen;
    QTest::newRow("unclosed bracket") << u"[發熱"_qs << false << FailureNumber::InvalidPattern;
    QTest::newRow("unclosed bracket among any terms") << u"+發熱 [x"_qs << false << FailureNumber::InvalidPattern;
}

void TestSearchRun::failureIsReportedOnceAndChangesNothing()
{
    QFETCH(QString, box);
    QFETCH(bool, missingDatabase);
    QFETCH(int, number);
    QCOMPARE(search(u"發熱"_qs), Ending::Rows);
    ResultGrid &grid = *m_main->Grd1();
    QVERIFY(grid.setRow(2));
    m_main->displays.clear();

    QTemporaryDir nowhere;
    QCOMPARE(search(box, missingDatabase ? nowhere.path() : QString()), Ending::Failed);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].prompt.contains(QString::number(number)), qPrintable(m_messages[0].prompt));
    QCOMPARE(m_messages[0].caption, productLabel());
    QCOMPARE(grid.Rows(), 3);
    QCOMPARE(grid.TextMatrix(2, 0), u"傷寒論 發熱"_qs);
    QCOMPARE(grid.TextMatrix(0, 0), SearchCaption);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(lastMode(), u"mod3a"_qs);
    QVERIFY(m_main->displays.isEmpty());

    // The program goes on: the next search works as usual.
    QCOMPARE(search(u"+頭痛"_qs), Ending::Rows);
    QCOMPARE(lastMode(), u"mod4"_qs);
}

void TestSearchRun::focusGoesToTheListUnlessAListAllRunsHidden_data()
{
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("listFocused");

    QTest::newRow("list all while loading") << false << QString() << false;
    QTest::newRow("list all on screen") << true << QString() << true;
    QTest::newRow("terms while hidden") << false << u"發熱"_qs << true;
    QTest::newRow("terms on screen") << true << u"-發熱"_qs << true;
}

void TestSearchRun::focusGoesToTheListUnlessAListAllRunsHidden()
{
    QFETCH(bool, shown);
    QFETCH(QString, box);
    if (shown) {
        m_main->show();
        QVERIFY(QTest::qWaitForWindowActive(m_main.get()));
    }
    m_main->TxtQuery()->setFocus();
    QCOMPARE(m_main->focusWidget(), m_main->TxtQuery());

    QCOMPARE(search(box), Ending::Rows);
    // focusWidget() also records a request made while the window is hidden.
    QTEST(m_main->focusWidget() == m_main->Grd1(), "listFocused");
    if (shown)
        QTEST(m_main->Grd1()->hasFocus(), "listFocused");
}

void TestSearchRun::searchesKeepThePagePathHidden()
{
    for (const QString &box : {u"發熱"_qs, QString(), u"+頭痛"_qs}) {
        QCOMPARE(search(box), Ending::Rows);
        QVERIFY(m_main->Grd1()->isColumnHidden(1));
        QCOMPARE(m_main->Grd1()->columnWidth(0), Twips::toPixels(3500, m_main->Grd1()));
    }
}

// A title of 2.1 million characters: the cell and the tooltip show its
// start (laying it out whole took seconds a hover), the data stays whole.
void TestSearchRun::hugeTitleIsCutForDisplayOnly()
{
    QTemporaryDir dir;
    const QString title = QStringLiteral("傷寒").repeated(1050000);
    QVERIFY(writeTestDatabase(dir.path(), {{title, u"p.htm"_qs, u"發熱"_qs, u"2000-01-01"_qs}}));
    QCOMPARE(search(u"發熱"_qs, dir.path()), Ending::Rows);
    ResultGrid &grid = *m_main->Grd1();
    QCOMPARE(grid.TextMatrix(1, 0), title);
    const QString cell = grid.model()->index(0, 0).data().toString();
    QVERIFY(cell.size() <= 1001 && title.startsWith(cell.chopped(1)));
    m_main->ShowRowToolTip(0, grid.RowPos(1) + grid.RowHeight(1) / 2.0);
    QCOMPARE(grid.ToolTipText(), title);
    QVERIFY(grid.toolTip().size() <= 501 && title.startsWith(grid.toolTip().chopped(1)));
}

void TestSearchRun::listAllOfManyRecordsEndsAtTheTop()
{
    constexpr int count = 300000;
    QTemporaryDir big;
    QVERIFY(writeBulkDatabase(big.path(), count));
    m_main->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));

    QCOMPARE(search(QString(), big.path()), Ending::Rows);
    ResultGrid &grid = *m_main->Grd1();
    QCOMPARE(grid.Rows(), count + 1);
    QCOMPARE(grid.TextMatrix(1, 0), bulkTitle(count));
    QCOMPARE(grid.TextMatrix(count, 0), bulkTitle(1));

    QTest::keyClick(&grid, Qt::Key_End);
    QCOMPARE(grid.Row(), count);
    QVERIFY(grid.verticalScrollBar()->value() > 0);
    QVERIFY(grid.RowPos(1) < 0);

    QCOMPARE(search(QString(), big.path()), Ending::Rows);
    QCOMPARE(grid.Rows(), count + 1);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(grid.verticalScrollBar()->value(), 0);
    QCOMPARE(grid.RowPos(1), grid.RowHeight(1));
    QCOMPARE(m_main->displays.last().row, 1);
    QVERIFY(m_main->displays.last().direct);
}

QTEST_MAIN(TestSearchRun)
#include "test_runsearch.moc"
