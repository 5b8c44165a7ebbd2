#include "bulkdatabase.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "queryplan.h"
#include "searchrun.h"
#include "testdatabase.h"
#include "testhost.h"
#include "twips.h"

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
}

class TestSearchRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
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

private:
    SearchOutcome search(const QString &box, const QString &folder = QString());
    void loadLikeTheWindow();

    QTemporaryDir m_dir;
    std::unique_ptr<TestHost> m_host;
    QList<Message> m_messages;
};

void TestSearchRun::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeTestDatabase(m_dir.path(), standardRecords()));
}

void TestSearchRun::init()
{
    m_messages.clear();
    MessageBox::setObserver([this](const QString &prompt, const QString &caption) {
        m_messages.append({prompt, caption});
    });
    m_host = std::make_unique<TestHost>();
    loadLikeTheWindow();
}

void TestSearchRun::cleanup()
{
    m_host.reset();
    MessageBox::setObserver({});
}

// What the main window's load step does to its list before the first search.
void TestSearchRun::loadLikeTheWindow()
{
    ResultGrid &grid = *m_host->grid;
    grid.setColWidth(0, 3500);
    grid.setColWidth(1, 0);
    grid.setScrollBars(2);
    grid.setTextArray(0, LoadCaption);
}

SearchOutcome TestSearchRun::search(const QString &box, const QString &folder)
{
    const QString cs = modTamvex::makeConnectionString(folder.isEmpty() ? m_dir.path() : folder);
    return runSearchIntoGrid(buildQuery(trimBlanks(box)), cs, *m_host);
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
    m_host->lastMode = u"before"_qs;

    QCOMPARE(search(box), SearchOutcome::Rows);
    const ResultGrid &grid = *m_host->grid;
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(grid.Rows(), count + 1);
    for (int i = 0; i < titles.size(); ++i)
        QCOMPARE(grid.TextMatrix(i + 1, 0), titles[i]);
    QCOMPARE(grid.TextMatrix(0, 0), SearchCaption);
    QCOMPARE(grid.TextMatrix(0, 1), u"位置"_qs);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(m_host->lastMode, mode);

    // The run's own display comes last and sees the new mode; the ones the
    // list raised on the way saw the old one.
    QVERIFY(!m_host->displays.isEmpty());
    const SeenDisplay last = m_host->displays.takeLast();
    QVERIFY(last.direct);
    QCOMPARE(last.lastMode, mode);
    QCOMPARE(last.row, 1);
    QCOMPARE(last.col, 1);
    for (const SeenDisplay &earlier : std::as_const(m_host->displays)) {
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
    QCOMPARE(search(u"+發熱 頭痛"_qs), SearchOutcome::Rows);
    ResultGrid &grid = *m_host->grid;
    QVERIFY(grid.setRow(2));
    const QStringList before{grid.TextMatrix(1, 0), grid.TextMatrix(2, 0), grid.TextMatrix(3, 0)};
    m_host->displays.clear();

    QCOMPARE(search(box), SearchOutcome::NoRows);
    QCOMPARE(m_messages.size(), 1);
    QTEST(m_messages[0].prompt, "message");
    QCOMPARE(m_messages[0].caption, productLabel());
    QCOMPARE(grid.Rows(), 4);
    QCOMPARE((QStringList{grid.TextMatrix(1, 0), grid.TextMatrix(2, 0), grid.TextMatrix(3, 0)}), before);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(m_host->lastMode, u"mod4"_qs);
    QVERIFY(m_host->displays.isEmpty());
}

void TestSearchRun::emptyTableAtStartUpKeepsTheLoadCaption()
{
    QTemporaryDir empty;
    QVERIFY(writeTestDatabase(empty.path(), {}));
    QCOMPARE(search(QString(), empty.path()), SearchOutcome::NoRows);
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(m_messages[0].prompt, u" 全文檢索搜尋\u3000[  ]\u3000資料不存在"_qs);
    QCOMPARE(m_host->grid->TextMatrix(0, 0), LoadCaption);
    QCOMPARE(m_host->grid->Rows(), 2);
    QVERIFY(m_host->lastMode.isEmpty());
    QVERIFY(m_host->displays.isEmpty());
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
    QCOMPARE(search(u"發熱"_qs), SearchOutcome::Rows);
    ResultGrid &grid = *m_host->grid;
    QVERIFY(grid.setRow(2));
    m_host->displays.clear();

    QTemporaryDir nowhere;
    QCOMPARE(search(box, missingDatabase ? nowhere.path() : QString()), SearchOutcome::Failed);
    QCOMPARE(m_messages.size(), 1);
    QVERIFY2(m_messages[0].prompt.contains(QString::number(number)), qPrintable(m_messages[0].prompt));
    QCOMPARE(m_messages[0].caption, productLabel());
    QCOMPARE(grid.Rows(), 3);
    QCOMPARE(grid.TextMatrix(2, 0), u"傷寒論 發熱"_qs);
    QCOMPARE(grid.TextMatrix(0, 0), SearchCaption);
    QCOMPARE(grid.Row(), 2);
    QCOMPARE(m_host->lastMode, u"mod3a"_qs);
    QVERIFY(m_host->displays.isEmpty());

    // The program goes on: the next search works as usual.
    QCOMPARE(search(u"+頭痛"_qs), SearchOutcome::Rows);
    QCOMPARE(m_host->lastMode, u"mod4"_qs);
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
        m_host->show();
        QVERIFY(QTest::qWaitForWindowActive(m_host.get()));
    }
    m_host->box->setFocus();
    QCOMPARE(m_host->focusWidget(), m_host->box);

    QCOMPARE(search(box), SearchOutcome::Rows);
    // focusWidget() also records a request made while the window is hidden.
    QTEST(m_host->focusWidget() == m_host->grid, "listFocused");
    if (shown)
        QTEST(m_host->grid->hasFocus(), "listFocused");
}

void TestSearchRun::searchesKeepThePagePathHidden()
{
    for (const QString &box : {u"發熱"_qs, QString(), u"+頭痛"_qs}) {
        QCOMPARE(search(box), SearchOutcome::Rows);
        QVERIFY(m_host->grid->isColumnHidden(1));
        QCOMPARE(m_host->grid->columnWidth(0), Twips::toPixels(3500, m_host->grid));
    }
}

void TestSearchRun::listAllOfManyRecordsEndsAtTheTop()
{
    constexpr int count = 300000;
    QTemporaryDir big;
    QVERIFY(writeBulkDatabase(big.path(), count));
    m_host->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_host.get()));

    QCOMPARE(search(QString(), big.path()), SearchOutcome::Rows);
    ResultGrid &grid = *m_host->grid;
    QCOMPARE(grid.Rows(), count + 1);
    QCOMPARE(grid.TextMatrix(1, 0), bulkTitle(count));
    QCOMPARE(grid.TextMatrix(count, 0), bulkTitle(1));

    QTest::keyClick(&grid, Qt::Key_End);
    QCOMPARE(grid.Row(), count);
    QVERIFY(grid.verticalScrollBar()->value() > 0);
    QVERIFY(grid.RowPos(1) < 0);

    QCOMPARE(search(QString(), big.path()), SearchOutcome::Rows);
    QCOMPARE(grid.Rows(), count + 1);
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(grid.Col(), 1);
    QCOMPARE(grid.verticalScrollBar()->value(), 0);
    QCOMPARE(grid.RowPos(1), grid.RowHeight(1));
    QCOMPARE(m_host->displays.last().row, 1);
    QVERIFY(m_host->displays.last().direct);
}

QTEST_MAIN(TestSearchRun)
#include "test_searchrun.moc"
