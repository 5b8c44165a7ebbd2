#include "mainwindowfixture.h"

#include "filetests.h"

#include <QFile>
#include <QScopeGuard>
#include <QLabel>
#include <QLineEdit>

#include "twips.h"

class TestMainWindow : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void startScreenOpensMainWindowOnFirstRecord();
    void searchMarksTermsInTheShownPage();
    void emptyCollectionShowsHelpAndOneMessage();
    void layoutAfterLoad();
    void headerRowShowsStartScreenAgain();
    void closingDeletesTheTemporaryPage();
    void unwritableProgramFolderShowsTheRecordsOwnPage();
};

void TestMainWindow::startScreenOpensMainWindowOnFirstRecord()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    QVERIFY(main->isVisible());
    QVERIFY(!Forms::isLoaded(u"FrmIni"_qs));
    QCOMPARE(main->ct()->text(), u"第1筆"_qs);
    QCOMPARE(FrmTamvexMainTesting::LastMode(main), u"mod1"_qs);
    QCOMPARE(main->Grd1()->Row(), 1);
    QCOMPARE(main->Grd1()->TextMatrix(0, 0), u" 內容標題 或 查詢結果"_qs);
    QVERIFY(fixture.messages.isEmpty());
    QCOMPARE(main->navigatedPath(), FrmTamvexMainTesting::TempPagePath(main));
    QVERIFY(MainWindowFixture::waitForPage(main));
    // The newest record comes first; its page is shown unmarked.
    const QString firstTitle = main->Grd1()->TextMatrix(1, 0);
    QVERIFY(MainWindowFixture::evaluate(main, u"document.body.innerText"_qs).toString().contains(firstTitle));
    QCOMPARE(MainWindowFixture::evaluate(main, u"document.querySelectorAll('font[color=red]').length"_qs).toInt(), 0);
}

void TestMainWindow::searchMarksTermsInTheShownPage()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(MainWindowFixture::waitForPage(main));
    main->TxtQuery()->setEditText(u"  發熱 頭痛 "_qs);
    QTest::keyClick(main->TxtQuery(), Qt::Key_Return);
    QCOMPARE(main->TxtQuery()->currentText(), u"發熱 頭痛"_qs);
    QCOMPARE(FrmTamvexMainTesting::LastMode(main), u"mod3a"_qs);
    QCOMPARE(main->Grd1()->Rows(), 7); // six records hold both terms
    QVERIFY(MainWindowFixture::waitForPage(main));
    const int marks = MainWindowFixture::evaluate(main, u"document.querySelectorAll('font[color=red]').length"_qs).toInt();
    QVERIFY2(marks >= 2, qPrintable(QString::number(marks)));
    const QString marked = MainWindowFixture::evaluate(main,
        u"Array.from(document.querySelectorAll('font[color=red]')).map(e => e.textContent).join('|')"_qs).toString();
    QVERIFY(marked.contains(u"發熱"_qs));
    QVERIFY(marked.contains(u"頭痛"_qs));

    // Moving to another row shows that record's page, the label follows.
    main->Grd1()->setRow(3);
    QCOMPARE(main->ct()->text(), u"第3筆"_qs);
    QVERIFY(MainWindowFixture::waitForPage(main));
    QVERIFY(MainWindowFixture::evaluate(main, u"document.body.innerText"_qs).toString()
                .contains(main->Grd1()->TextMatrix(3, 0)));
}

void TestMainWindow::emptyCollectionShowsHelpAndOneMessage()
{
    MainWindowFixture fixture(true);
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages.first().prompt, u" 全文檢索搜尋\u3000[  ]\u3000資料不存在"_qs);
    QCOMPARE(fixture.messages.first().caption, u"Tamvex"_qs);
    QCOMPARE(main->ct()->text(), u"第100000筆"_qs);
    QCOMPARE(main->Grd1()->TextMatrix(0, 0), u"內容標題 或 查詢結果"_qs);
    QVERIFY(Forms::isLoaded(u"FrmIni"_qs));
    QVERIFY(main->navigatedPath().endsWith(u"/Help.htm"_qs));
    QVERIFY(MainWindowFixture::waitForPage(main));
    QVERIFY(!MainWindowFixture::evaluate(main, u"document.body.innerText"_qs).toString().isEmpty());
}

void TestMainWindow::layoutAfterLoad()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    QCOMPARE(main->pos(), QPoint(0, 0));
    QVERIFY(main->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(qAbs(main->Grd1()->Left() - 200.0) < Twips::perPixel()); // whole pixels
    QCOMPARE(main->TxtQuery()->x(), main->Grd1()->x());
    QVERIFY(main->Grd1()->x() + main->Grd1()->width() < main->LblDesc()->x());
    QCOMPARE(main->Grd1()->ColWidth(1), 0);
    QCOMPARE(main->windowTitle(), u"Tamvex-目錄瀏覽 & 關鍵字搜尋"_qs);
    QCOMPARE(FrmTamvexMainTesting::TempPagePath(main), fixture.folder() + u"/tmp/TmpVORNAX.htm"_qs);
    QCOMPARE(main->TxtQuery()->count(), 3);
}

void TestMainWindow::headerRowShowsStartScreenAgain()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    main->Grd1()->setRow(0);
    QCOMPARE(main->ct()->text(), u"第0筆"_qs);
    QVERIFY(Forms::isLoaded(u"FrmIni"_qs));
    QVERIFY(Forms::existing(u"FrmIni"_qs)->isVisible());
    main->Grd1()->setRow(2);
    QVERIFY(!Forms::isLoaded(u"FrmIni"_qs));
}

void TestMainWindow::closingDeletesTheTemporaryPage()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    const QString temp = FrmTamvexMainTesting::TempPagePath(main);
    QVERIFY(isOrdinaryFile(temp));
    main->close();
    QVERIFY(!QFile::exists(temp));
    QVERIFY(isFolder(fixture.folder() + u"/tmp"_qs));
}

void TestMainWindow::unwritableProgramFolderShowsTheRecordsOwnPage()
{
    MainWindowFixture fixture;
    // A file named tmp stands where the folder must go, and a file where
    // the reader's cache folder must go: no temporary page can be written,
    // even by root.
    QFile blocker(fixture.folder() + u"/tmp"_qs);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray cacheHome = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(blocker.fileName()));
    const auto restore = qScopeGuard([&] {
        if (cacheHome.isEmpty())
            qunsetenv("XDG_CACHE_HOME");
        else
            qputenv("XDG_CACHE_HOME", cacheHome);
    });
    FrmTamvexMain *main = fixture.openMainWindow();
    const QString page = main->Grd1()->TextMatrix(1, 1);
    QVERIFY(main->navigatedPath() != FrmTamvexMainTesting::TempPagePath(main));
    QCOMPARE(main->navigatedPath(), recordPagePath(fixture.folder(), page));
    QVERIFY(MainWindowFixture::waitForPage(main));
    QVERIFY(MainWindowFixture::evaluate(main, u"document.body.innerText"_qs).toString().contains(main->Grd1()->TextMatrix(1, 0)));

    // With the record's page gone as well, an empty page: never an old one.
    QVERIFY(QFile::remove(recordPagePath(fixture.folder(), main->Grd1()->TextMatrix(2, 1))));
    main->Grd1()->setRow(2);
    QCOMPARE(main->ct()->text(), u"第2筆"_qs);
    QVERIFY(main->navigatedPath().isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
