// Faults of record pages and of the temporary page, seen through the real
// main window: which page the browser is asked to show, the temporary page's
// bytes, the message boxes (none: a page fault is not a failure of the
// search), and that the next record is shown right.

#include "faultfolder.h"

using namespace Faults;

class TestFaultsPages : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void unusablePageShowsEmptyPage_data();
    void unusablePageShowsEmptyPage();
    void largeAndBrokenPagesKeepEveryByte_data();
    void largeAndBrokenPagesKeepEveryByte();
    void temporaryPageCannotBeWritten_data();
    void temporaryPageCannotBeWritten();

private:
    // Opens the main window on the records holding term; row 2 is the one
    // the fault is put on. Returns the path of row 2's page.
    static QString openOnSecondRow(MainWindowFixture &fixture, FrmTamvexMain *&main, const QString &term)
    {
        main = fixture.openMainWindow();
        if (!main)
            return QString();
        search(main, term);
        if (main->Grd1()->Rows() < 4)
            return QString();
        return recordPagePath(fixture.folder(), main->Grd1()->TextMatrix(2, 1));
    }
};

void TestFaultsPages::unusablePageShowsEmptyPage_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << u"missing"_qs;
    QTest::newRow("zero bytes") << u"empty"_qs;
    QTest::newRow("folder of that name") << u"folder"_qs;
}

void TestFaultsPages::unusablePageShowsEmptyPage()
{
    QFETCH(QString, kind);
    MainWindowFixture fixture;
    FrmTamvexMain *main = nullptr;
    const QString page = openOnSecondRow(fixture, main, u"發熱"_qs);
    QVERIFY(!page.isEmpty());
    QVERIFY(QFile::remove(page));
    if (kind == u"empty"_qs)
        QVERIFY(writeBytes(page, QByteArray()));
    else if (kind == u"folder"_qs)
        QVERIFY(QDir().mkdir(page));

    main->Grd1()->setRow(2);
    QCOMPARE(main->ct()->text(), u"第2筆"_qs);
    // The empty temporary page is shown, not row 1's marked page.
    QCOMPARE(main->navigatedPath(), FrmTamvexMainTesting::TempPagePath(main));
    QCOMPARE(QFileInfo(FrmTamvexMainTesting::TempPagePath(main)).size(), 0);
    QVERIFY(pageShown(main));
    QCOMPARE(MainWindowFixture::evaluate(main, u"document.body ? document.body.innerText : ''"_qs).toString(), QString());
    QVERIFY(fixture.messages.isEmpty());

    // The next record is shown in full and marked.
    main->Grd1()->setRow(3);
    const QByteArray third = readBytes(recordPagePath(fixture.folder(), main->Grd1()->TextMatrix(3, 1)));
    const QByteArray shown = readBytes(FrmTamvexMainTesting::TempPagePath(main));
    QCOMPARE(withoutMarks(shown), third);
    QVERIFY(shown.contains(QByteArrayLiteral("<font color=red>") + big5(u"發熱"_qs) + QByteArrayLiteral("</font>")));
}

void TestFaultsPages::largeAndBrokenPagesKeepEveryByte_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<int>("marks");
    const QByteArray term = big5(u"發熱"_qs);
    // 20 MB: a long paragraph with the term every 20,000 bytes.
    QByteArray large = QByteArrayLiteral("<html><body><p>");
    const QByteArray filler = big5(u"太陽病，頭痛，惡寒。"_qs);
    int count = 0;
    while (large.size() < 20 * 1024 * 1024) {
        for (int i = 0; i < 20000 / filler.size(); ++i)
            large += filler;
        large += term;
        ++count;
    }
    large += QByteArrayLiteral("</p></body></html>");
    QTest::newRow("20 MB page") << large << count;
    // Bytes that are no Big5 character: a lead byte with a bad trail, bytes
    // 0x80 and 0xFF, a NUL, a lone lead byte at the end, and the term around
    // them. The lead byte 0xA4 right before the first term takes the term's
    // first byte as its trail, so that occurrence is no longer the term.
    const QByteArray broken = QByteArrayLiteral("<p>\xa4") + term + QByteArrayLiteral("\x81\x20\x80\xff") + term
        + QByteArray("\x00", 1) + term + QByteArrayLiteral("\xf9\xfe\xc8\x40</p>\xa4");
    QTest::newRow("invalid Big5") << broken << 2;
}

void TestFaultsPages::largeAndBrokenPagesKeepEveryByte()
{
    QFETCH(QByteArray, page);
    QFETCH(int, marks);
    MainWindowFixture fixture;
    FrmTamvexMain *main = nullptr;
    const QString path = openOnSecondRow(fixture, main, u"發熱"_qs);
    QVERIFY(!path.isEmpty());
    QVERIFY(writeBytes(path, page));

    main->Grd1()->setRow(2);
    QCOMPARE(main->navigatedPath(), FrmTamvexMainTesting::TempPagePath(main));
    const QByteArray shown = readBytes(FrmTamvexMainTesting::TempPagePath(main));
    QCOMPARE(shown.count(QByteArrayLiteral("<font color=red>")), marks);
    QVERIFY(withoutMarks(shown) == page);
    QCOMPARE(readBytes(path), page); // the record page is only read
    // The browser gets through it (slowly for 20 MB under the sanitizers or
    // on a loaded machine: minutes, within the test's time limit).
    QVERIFY(pageShown(main, 420000));
    QVERIFY(fixture.messages.isEmpty());
}

void TestFaultsPages::temporaryPageCannotBeWritten_data()
{
    QTest::addColumn<QString>("kind");
    // No tmp folder can be made: a file has its name.
    QTest::newRow("file named tmp") << u"tmpfile"_qs;
    // The temporary page's own name is taken by a folder.
    QTest::newRow("folder named TmpVORNAX.htm") << u"tmppagefolder"_qs;
}

void TestFaultsPages::temporaryPageCannotBeWritten()
{
    QFETCH(QString, kind);
    MainWindowFixture fixture;
    FrmTamvexMain *main = nullptr;
    QVERIFY(!openOnSecondRow(fixture, main, u"發熱"_qs).isEmpty());
    const QString tmp = fixture.folder() + u"/tmp"_qs;
    clear(tmp);
    if (kind == u"tmpfile"_qs) {
        QVERIFY(writeBytes(tmp, QByteArrayLiteral("not a folder")));
    } else {
        QVERIFY(QDir().mkpath(FrmTamvexMainTesting::TempPagePath(main)));
    }

    for (int row : {2, 3}) {
        main->Grd1()->setRow(row);
        const QString own = recordPagePath(fixture.folder(), main->Grd1()->TextMatrix(row, 1));
        // The selected record's own page, unmarked, never an older page.
        QCOMPARE(main->navigatedPath(), own);
        QVERIFY(pageShown(main));
        QVERIFY(MainWindowFixture::evaluate(main, u"document.body.innerText"_qs).toString()
                    .contains(main->Grd1()->TextMatrix(row, 0)));
    }
    QVERIFY(fixture.messages.isEmpty());
    if (kind == u"tmpfile"_qs)
        QCOMPARE(readBytes(tmp), QByteArray("not a folder"));
    else
        QVERIFY(QFileInfo(FrmTamvexMainTesting::TempPagePath(main)).isDir());

    // Closing the window leaves what it could not use alone.
    main->Unload();
    QVERIFY(QFileInfo::exists(kind == u"tmpfile"_qs ? tmp : FrmTamvexMainTesting::TempPagePath(main)));
}

QTEST_MAIN(TestFaultsPages)
#include "test_faults_pages.moc"
