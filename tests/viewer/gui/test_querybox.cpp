#include "mainwindowfixture.h"

#include "recordprinter.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrinterInfo>

namespace {
QStringList historyOf(const QComboBox *box)
{
    QStringList items;
    for (int i = 3; i < box->count(); ++i) // after the design entries
        items << box->itemText(i);
    return items;
}

QString pdfText(const QString &pdf)
{
    QProcess process;
    process.start(u"pdftotext"_qs, {pdf, u"-"_qs});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}
}

class TestQueryBox : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void historyFollowsTheButton_data();
    void historyFollowsTheButton();
    void specialEntriesActOnlyThroughTheButton();
    void focusSelectsTheWholeText();
    void keysMoveTheFocus_data();
    void keysMoveTheFocus();
    void f7PrintsTheCurrentTitle_data();
    void f7PrintsTheCurrentTitle();
    void f7WithoutPrinterSaysSo();
    void tooltipShowsTheRowUnderThePointer();

private:
    MainWindowFixture *m_fixture = nullptr;
    FrmTamvexMain *m_main = nullptr;
};

void TestQueryBox::initTestCase()
{
    m_fixture = new MainWindowFixture;
    m_main = m_fixture->openMainWindow();
    QVERIFY(m_main);
    QApplication::setActiveWindow(m_main);
    QVERIFY(QTest::qWaitForWindowActive(m_main));
}

void TestQueryBox::cleanupTestCase()
{
    delete m_fixture;
}

void TestQueryBox::init()
{
    // Each case starts from the design list and an untouched history.
    m_main->TxtQuery()->setEditText(u"條件清除"_qs);
    m_main->Command1()->click();
    FrmTamvexMainTesting::LastHistoryEntry(m_main).clear();
    m_fixture->messages.clear();
    if (TamvexForm *editor = Forms::existing(u"frmBrowser"_qs))
        editor->Unload();
    m_main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_main));
}

void TestQueryBox::historyFollowsTheButton_data()
{
    QTest::addColumn<QStringList>("actions"); // "B:text" presses the button, "E:text" types Enter
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("lastEntry");
    QTest::addColumn<int>("messages");
    QTest::newRow("empty box before any query records nothing") << QStringList{u"B:"_qs} << QStringList{} << QString() << 0;
    QTest::newRow("empty box after a query adds an empty entry")
        << QStringList{u"B:發熱"_qs, u"B:"_qs} << QStringList{u"發熱"_qs, QString()} << QString() << 0;
    QTest::newRow("a repeat is suppressed") << QStringList{u"B:發熱"_qs, u"B:發熱"_qs} << QStringList{u"發熱"_qs} << u"發熱"_qs << 0;
    QTest::newRow("the same again after another is added")
        << QStringList{u"B:發熱"_qs, u"B:頭痛"_qs, u"B:發熱"_qs} << QStringList{u"發熱"_qs, u"頭痛"_qs, u"發熱"_qs} << u"發熱"_qs << 0;
    QTest::newRow("repeat test is untrimmed, the entry trimmed")
        << QStringList{u"B:  發熱 "_qs, u"B:發熱"_qs} << QStringList{u"發熱"_qs, u"發熱"_qs} << u"發熱"_qs << 0;
    QTest::newRow("a query that finds nothing is recorded")
        << QStringList{u"B:麻黃湯麻黃湯"_qs} << QStringList{u"麻黃湯麻黃湯"_qs} << u"麻黃湯麻黃湯"_qs << 1;
    QTest::newRow("Enter searches but records nothing") << QStringList{u"E:發熱"_qs} << QStringList{} << QString() << 0;
    QTest::newRow("reset keeps the last entry, so that query is not added again")
        << QStringList{u"B:發熱"_qs, u"B:條件清除"_qs, u"B:發熱"_qs} << QStringList{} << u"發熱"_qs << 0;
    QTest::newRow("a leading blank makes a special entry an ordinary query")
        << QStringList{u"B: 條件存取"_qs} << QStringList{u"條件存取"_qs} << u" 條件存取"_qs << 1;
    QTest::newRow("a failing search is reported and not recorded") << QStringList{u"B:[x"_qs} << QStringList{} << QString() << 1;
}

void TestQueryBox::historyFollowsTheButton()
{
    QFETCH(QStringList, actions);
    QFETCH(QStringList, history);
    QFETCH(QString, lastEntry);
    QFETCH(int, messages);
    for (const QString &action : actions) {
        m_main->TxtQuery()->setEditText(action.mid(2));
        if (action.startsWith(u"B:"_qs))
            m_main->Command1()->click();
        else
            QTest::keyClick(m_main->TxtQuery(), Qt::Key_Return);
    }
    QCOMPARE(historyOf(m_main->TxtQuery()), history);
    QCOMPARE(FrmTamvexMainTesting::LastHistoryEntry(m_main), lastEntry);
    QCOMPARE(m_fixture->messages.size(), messages);
}

void TestQueryBox::specialEntriesActOnlyThroughTheButton()
{
    const QString lastMode = FrmTamvexMainTesting::LastMode(m_main);
    m_main->TxtQuery()->setEditText(u"條件存取"_qs);
    m_main->Command1()->click();
    QCOMPARE(m_main->TxtQuery()->currentText(), QString());
    QVERIFY(Forms::isLoaded(u"frmBrowser"_qs));
    QVERIFY(Forms::existing(u"frmBrowser"_qs)->isVisible());
    QCOMPARE(FrmTamvexMainTesting::LastMode(m_main), lastMode); // no search ran
    Forms::existing(u"frmBrowser"_qs)->Unload();

    m_main->TxtQuery()->setEditText(u"條件存取"_qs);
    QTest::keyClick(m_main->TxtQuery(), Qt::Key_Return);
    QVERIFY(!Forms::isLoaded(u"frmBrowser"_qs));
    QCOMPARE(m_fixture->messages.size(), 1); // an ordinary search that finds nothing

    m_main->TxtQuery()->setEditText(u"條件清除"_qs);
    m_main->Command1()->click();
    QCOMPARE(m_main->TxtQuery()->count(), 3);
    QCOMPARE(m_main->TxtQuery()->itemText(1), u"條件存取"_qs);
    QCOMPARE(m_main->TxtQuery()->itemText(2), u"條件清除"_qs);
}

void TestQueryBox::focusSelectsTheWholeText()
{
    m_main->TxtQuery()->setEditText(u"發熱 頭痛"_qs);
    m_main->Grd1()->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTest::qWait(20);
    QVERIFY(m_main->TxtQuery()->hasFocus());
    QCOMPARE(m_main->TxtQuery()->lineEdit()->selectedText(), u"發熱 頭痛"_qs);
}

void TestQueryBox::keysMoveTheFocus_data()
{
    QTest::addColumn<bool>("fromQueryBox");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("endsInList");
    const int none = Qt::NoModifier;
    QTest::newRow("Enter from the query box") << true << int(Qt::Key_Return) << none << true;
    QTest::newRow("Ctrl+Enter acts as Enter") << true << int(Qt::Key_Return) << int(Qt::ControlModifier) << true;
    QTest::newRow("Down from the query box") << true << int(Qt::Key_Down) << none << true;
    QTest::newRow("Up from the query box") << true << int(Qt::Key_Up) << none << true;
    QTest::newRow("Page Down stays") << true << int(Qt::Key_PageDown) << none << false;
    QTest::newRow("Page Up stays") << true << int(Qt::Key_PageUp) << none << false;
    QTest::newRow("Left stays") << true << int(Qt::Key_Left) << none << false;
    QTest::newRow("Right stays") << true << int(Qt::Key_Right) << none << false;
    QTest::newRow("Escape from the list") << false << int(Qt::Key_Escape) << none << false;
    QTest::newRow("Shift+Escape from the list") << false << int(Qt::Key_Escape) << int(Qt::ShiftModifier) << false;
    QTest::newRow("Page Down in the list stays there") << false << int(Qt::Key_PageDown) << none << true;
}

void TestQueryBox::keysMoveTheFocus()
{
    QFETCH(bool, fromQueryBox);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, endsInList);
    m_main->TxtQuery()->setEditText(u"發熱"_qs);
    if (fromQueryBox)
        m_main->TxtQuery()->setFocus();
    else
        m_main->Grd1()->SetFocus();
    QVERIFY(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(m_main->Grd1()->hasFocus(), endsInList);
    QCOMPARE(m_main->TxtQuery()->hasFocus(), !endsInList);
}

void TestQueryBox::f7PrintsTheCurrentTitle_data()
{
    QTest::addColumn<int>("modifiers");
    QTest::newRow("F7") << int(Qt::NoModifier);
    QTest::newRow("Shift+F7") << int(Qt::ShiftModifier);
}

void TestQueryBox::f7PrintsTheCurrentTitle()
{
    QFETCH(int, modifiers);
    QTemporaryDir dir;
    const QString pdf = dir.path() + u"/job.pdf"_qs;
    RecordPrinter::setPdfOutput(pdf);
    m_main->TxtQuery()->setEditText(QString());
    m_main->Command1()->click();
    m_main->Grd1()->setRow(2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F7, Qt::KeyboardModifiers(modifiers));
    RecordPrinter::setPdfOutput(QString());
    const QString text = pdfText(pdf);
    QVERIFY2(text.contains(m_main->Grd1()->TextMatrix(2, 0)), qPrintable(text));
    QVERIFY(m_fixture->messages.isEmpty());
}

void TestQueryBox::f7WithoutPrinterSaysSo()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a printer");
    m_main->Grd1()->SetFocus();
    QTest::keyClick(m_main->Grd1(), Qt::Key_F7);
    QCOMPARE(m_fixture->messages.size(), 1);
    QVERIFY(m_fixture->messages.first().prompt.contains(u"印表機"_qs));
    QVERIFY(m_fixture->messages.first().prompt.contains(u"482"_qs));
}

void TestQueryBox::tooltipShowsTheRowUnderThePointer()
{
    m_main->TxtQuery()->setEditText(QString());
    m_main->Command1()->click();
    ResultGrid *grid = m_main->Grd1();
    grid->scrollToFirstRecord();
    for (int row : {1, 2, 5}) {
        const QRect cell = grid->visualRect(grid->model()->index(row - 1, 0));
        QTest::mouseMove(grid->viewport(), cell.center());
        QCOMPARE(grid->ToolTipText(), grid->TextMatrix(row, 0));
    }
    // Below the last row of a short list the tooltip stays as it was.
    m_main->TxtQuery()->setEditText(u"發熱 頭痛"_qs);
    m_main->Command1()->click();
    const QString before = grid->ToolTipText();
    QTest::mouseMove(grid->viewport(), QPoint(10, grid->viewport()->height() - 3));
    QCOMPARE(grid->ToolTipText(), before);
}

QTEST_MAIN(TestQueryBox)
#include "test_querybox.moc"
