// A long search on a real window and a real jst.mdb: the window takes
// events while it runs, Escape or a new search abandons it, closing the
// window ends it, and an abandoned search changes nothing the reader sees.

#include "backgroundsearch.h"
#include "frmtamvexmain.h"
#include "frmtamvexmaintesting.h"
#include "graphicalbutton.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "programfolder.h"
#include "resultgrid.h"
#include "slowdatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
// The main window, counting the record displays.
class WatchedMain : public FrmTamvexMain {
public:
    void Grd1_RowColChange() override
    {
        ++displays;
        FrmTamvexMain::Grd1_RowColChange();
    }
    int displays = 0;
};

QStringList historyOf(const QComboBox &box)
{
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}
}

class TestAbandonSearch : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void escapeAbandonsALongSearch();
    void aNewSearchReplacesALongOne();
    void closingTheWindowEndsALongSearch();
    void aQuickSearchTakesNoEvents();

private:
    // Starts the slow search with the search button; during it, after a
    // moment, whileWaiting runs from a timer (so the window took events).
    void searchSlowly(const std::function<void()> &whileWaiting);
    void pressEscape();
    QLabel *searchingLabel() const { return m_main->findChild<QLabel *>(QStringLiteral("searching")); }

    QTemporaryDir m_dir;
    QPointer<WatchedMain> m_main;
    QStringList m_messages;
    bool m_timerFired = false;
    bool m_labelShown = false;
};

void TestAbandonSearch::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(writeSlowDatabase(m_dir.path()));
    setProgramFolderOverride(m_dir.path());
    modTamvex::ConnectionString = modTamvex::makeConnectionString(m_dir.path());
}

void TestAbandonSearch::cleanupTestCase()
{
    setProgramFolderOverride(QString());
    modTamvex::ConnectionString.clear();
}

void TestAbandonSearch::init()
{
    m_messages.clear();
    m_timerFired = false;
    m_labelShown = false;
    MessageBox::setObserver([this](const QString &prompt, const QString &) { m_messages << prompt; });
    m_main = new WatchedMain;
    m_main->Show(); // loads: the list of every record, waited for before the window is on screen
    QVERIFY(QTest::qWaitForWindowExposed(m_main));
    QCOMPARE(m_main->Grd1()->Rows(), SlowRecordCount + 1);
    QVERIFY(!searchingLabel()->isVisible());
}

void TestAbandonSearch::cleanup()
{
    delete m_main;
    MessageBox::setObserver({});
}

void TestAbandonSearch::searchSlowly(const std::function<void()> &whileWaiting)
{
    QTimer::singleShot(BackgroundSearch::PatienceMs + 100, m_main, [this, whileWaiting] {
        m_timerFired = true;
        m_labelShown = searchingLabel()->isVisible();
        whileWaiting();
    });
    m_main->TxtQuery()->setEditText(slowQuery());
    m_main->Command1()->click();
}

void TestAbandonSearch::pressEscape()
{
    QWidget *focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == m_main ? focus : m_main.data(), Qt::Key_Escape);
}

void TestAbandonSearch::escapeAbandonsALongSearch()
{
    ResultGrid &grid = *m_main->Grd1();
    grid.setRow(5);
    const int displays = m_main->displays;
    const QStringList history = historyOf(*m_main->TxtQuery());

    searchSlowly([this] { pressEscape(); });

    QVERIFY(m_timerFired);
    QVERIFY(m_labelShown);
    QVERIFY(!searchingLabel()->isVisible());
    QVERIFY(m_messages.isEmpty());
    // The list, its current row, the page and LastMode are as before.
    QCOMPARE(grid.Rows(), SlowRecordCount + 1);
    QCOMPARE(grid.Row(), 5);
    QCOMPARE(grid.TextMatrix(1, 0), bulkTitle(SlowRecordCount));
    QCOMPARE(FrmTamvexMainTesting::LastMode(m_main), u"mod1"_qs);
    QCOMPARE(m_main->displays, displays);
    // Escape still does what it always does; the abandoned query is not
    // put into the history.
    QTRY_VERIFY(m_main->TxtQuery()->hasFocus());
    QCOMPARE(m_main->TxtQuery()->currentText(), slowQuery());
    QCOMPARE(historyOf(*m_main->TxtQuery()), history);
}

void TestAbandonSearch::aNewSearchReplacesALongOne()
{
    searchSlowly([this] {
        m_main->TxtQuery()->setEditText(quickQuery());
        m_main->Command1()->click();
    });

    QVERIFY(m_timerFired);
    QVERIFY(m_messages.isEmpty());
    const ResultGrid &grid = *m_main->Grd1();
    QCOMPARE(grid.Rows(), 2);
    QCOMPARE(grid.TextMatrix(1, 0), bulkTitle(7));
    QCOMPARE(grid.Row(), 1);
    QCOMPARE(FrmTamvexMainTesting::LastMode(m_main), u"mod3a"_qs);
    QVERIFY(m_main->navigatedPath().endsWith(u"TmpVORNAX.htm"_qs) || m_main->navigatedPath().isEmpty());
    const QStringList history = historyOf(*m_main->TxtQuery());
    QCOMPARE(history.count(quickQuery()), 1);
    QVERIFY(!history.contains(slowQuery()));
}

void TestAbandonSearch::closingTheWindowEndsALongSearch()
{
    searchSlowly([this] { m_main->close(); });

    QVERIFY(m_timerFired);
    QVERIFY(m_messages.isEmpty());
    // The window is unloaded and goes once the search has let go of it.
    QTRY_VERIFY(m_main.isNull());
}

void TestAbandonSearch::aQuickSearchTakesNoEvents()
{
    bool fired = false;
    QTimer::singleShot(0, m_main, [&] { fired = true; });
    m_main->TxtQuery()->setEditText(quickQuery());
    QVERIFY(m_main->RunSearch());
    QVERIFY(!fired);
    QCOMPARE(m_main->Grd1()->Rows(), 2);
    QTRY_VERIFY(fired);
}

QTEST_MAIN(TestAbandonSearch)
#include "test_abandonsearch.moc"
