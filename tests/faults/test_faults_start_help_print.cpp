// Faults of the installation's optional and fixed files and of the desk:
// replacement start-screen pictures that are no pictures, a missing or
// broken Help.htm, and no printer. The reader sees the design pictures, a
// working main window, and a message that says what to do.

#include "faultfolder.h"

#include "recordprinter.h"

#include <QApplication>
#include <QPrinterInfo>

using namespace Faults;

class TestFaultsStartHelpPrint : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void picturesThatAreNoPictures_data();
    void picturesThatAreNoPictures();
    void badHelpPage_data();
    void badHelpPage();
    void printWithoutPrinter();
};

void TestFaultsStartHelpPrint::picturesThatAreNoPictures_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("text") << QByteArrayLiteral("not a picture\r\n");
    QTest::newRow("zero bytes") << QByteArray();
    QTest::newRow("JPEG start, then nothing") << QByteArrayLiteral("\xff\xd8\xff\xe0\x00\x10JFIF\x00");
    QTest::newRow("PNG signature, broken chunk") << QByteArrayLiteral("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\xff\xff\xff\xff");
}

void TestFaultsStartHelpPrint::picturesThatAreNoPictures()
{
    QFETCH(QByteArray, bytes);
    MainWindowFixture fixture;
    // The design pictures, from a start screen with no replacements.
    auto *design = new FrmIni;
    design->Load();
    const QImage designBack = design->backgroundPicture().toImage();
    const QImage designQuery = design->cmdQuery->picture().toImage();
    delete design;

    for (const QString &name : {u"index.jpg"_qs, u"index-logo1.jpg"_qs, u"index-logo2.jpg"_qs})
        QVERIFY(writeBytes(fixture.folder() + u'/' + name, bytes));
    auto *start = Forms::instance<FrmIni>(u"FrmIni"_qs);
    start->Show();
    QCOMPARE(start->backgroundPicture().toImage(), designBack);
    QCOMPARE(start->cmdQuery->picture().toImage(), designQuery);
    QVERIFY(fixture.messages.isEmpty());
    // The search button still opens the main window on the first record.
    start->cmdQuery->click();
    auto *main = static_cast<FrmTamvexMain *>(Forms::existing(u"FrmTamvexMain"_qs));
    QVERIFY(main && main->isVisible());
    QCOMPARE(main->Grd1()->Row(), 1);
    QVERIFY(fixture.messages.isEmpty());
}

void TestFaultsStartHelpPrint::badHelpPage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << u"missing"_qs;
    QTest::newRow("binary bytes") << u"binary"_qs;
    QTest::newRow("folder of that name") << u"folder"_qs;
}

void TestFaultsStartHelpPrint::badHelpPage()
{
    QFETCH(QString, kind);
    // An empty collection: the help page is what stays on screen.
    MainWindowFixture fixture(true);
    const QString help = fixture.folder() + u"/Help.htm"_qs;
    clear(help);
    if (kind == u"binary"_qs) {
        QByteArray bytes;
        for (int i = 0; i < 65536; ++i)
            bytes += char((i * 7919) & 0xff);
        QVERIFY(writeBytes(help, bytes));
    } else if (kind == u"folder"_qs) {
        QVERIFY(QDir().mkdir(help));
    }
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    QCOMPARE(main->navigatedPath(), help);
    // A folder is shown as a listing, at its URL with a closing "/".
    QTRY_VERIFY_WITH_TIMEOUT(main->LblDesc()->url().toLocalFile().startsWith(help) && !main->LblDesc()->page()->isLoading(),
                             60000);
    // Only the empty collection's no-result message; the window works on.
    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY(main->isVisible());
    search(main, u"發熱"_qs);
    QCOMPARE(fixture.messages.size(), 2);
}

void TestFaultsStartHelpPrint::printWithoutPrinter()
{
    if (!QPrinterInfo::defaultPrinter().isNull())
        QSKIP("this machine has a default printer");
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    // The window previews the keys of its focused control: on a loaded
    // machine the window may not be active yet, and then no control has
    // the focus.
    QApplication::setActiveWindow(main);
    QVERIFY(QTest::qWaitForWindowActive(main));
    main->Grd1()->setFocus();
    QTest::keyClick(main->Grd1(), Qt::Key_F7);
    QCOMPARE(fixture.messages.size(), 1);
    const QString prompt = fixture.messages.first().prompt;
    QVERIFY2(prompt.contains(u"482"_qs), qPrintable(prompt));
    QVERIFY2(prompt.contains(u"印表機"_qs), qPrintable(prompt));
    QVERIFY2(prompt.contains(u"請先"_qs), qPrintable(prompt)); // what to do
    // Nothing changed in the window.
    QCOMPARE(main->Grd1()->Row(), 1);
    QVERIFY(main->isVisible());
    // The core call says the same.
    const Status printed = RecordPrinter::printLine(u"傷寒論"_qs);
    QVERIFY(!printed.ok());
    QCOMPARE(printed.failure().number, FailureNumber::NoPrinter);
}

QTEST_MAIN(TestFaultsStartHelpPrint)
#include "test_faults_start_help_print.moc"
