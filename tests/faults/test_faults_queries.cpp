// Extreme query box texts through the real main window's search: the whole
// text is searched (nothing cut off), the reader sees the no-result message
// or the found records, and the result list of the earlier search stays
// when nothing is found.

#include "faultfolder.h"

#include "queryplan.h"
#include "searchmessages.h"

using namespace Faults;

class TestFaultsQueries : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void queryWithoutMatchKeepsList_data();
    void queryWithoutMatchKeepsList();
    void hundredThousandTermsFindAndMark();
};

void TestFaultsQueries::queryWithoutMatchKeepsList_data()
{
    QTest::addColumn<QString>("query");
    QString mega;
    while (mega.size() < 1024 * 1024)
        mega += u"發熱頭痛惡寒"_qs;
    QTest::newRow("1 MB, one term") << mega;
    QTest::newRow("1 MB of apostrophes") << QString(1024 * 1024, u'\'');
    QTest::newRow("control characters") << u"發熱\t頭痛\u0001\u0007\u001b\u007f"_qs;
    QTest::newRow("NUL inside a term") << QString(u"發熱"_qs + QChar(0) + u"頭痛"_qs);
    QTest::newRow("lone high surrogate") << QString(u"發熱 "_qs + QChar(0xD840));
    QTest::newRow("lone low surrogate") << QString(QChar(0xDC0B) + u"發熱"_qs);
    QTest::newRow("reversed pair") << QString(u"-"_qs + QChar(0xDC0B) + QChar(0xD840));
}

void TestFaultsQueries::queryWithoutMatchKeepsList()
{
    QFETCH(QString, query);
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    search(main, u"發熱"_qs);
    const int rows = main->Grd1()->Rows();
    QVERIFY(rows > 2);

    search(main, query);
    // The box still holds the whole text the reader gave.
    QCOMPARE(main->TxtQuery()->currentText(), trimBlanks(query));
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(fixture.messages.first().prompt, noResultMessage(buildQuery(trimBlanks(query)).TermsText));
    QCOMPARE(main->Grd1()->Rows(), rows);
    QCOMPARE(FrmTamvexMainTesting::LastMode(main), u"mod3a"_qs);

    // The window goes on searching.
    search(main, u"頭痛"_qs);
    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY(main->Grd1()->Rows() > 1);
}

void TestFaultsQueries::hundredThousandTermsFindAndMark()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    // Any of 100,000 terms: one that is found, then 99,999 found nowhere
    // (the page is marked with the first 100 characters of the terms).
    QStringList terms{u"發熱"_qs};
    for (int i = 1; i < 100000; ++i)
        terms << u"無%1"_qs.arg(i);
    const QString query = u"+"_qs + terms.join(u' ');
    search(main, query);
    QCOMPARE(main->TxtQuery()->currentText(), query);
    QVERIFY(fixture.messages.isEmpty());
    QCOMPARE(FrmTamvexMainTesting::TermIndex(main), 100000);
    QCOMPARE(FrmTamvexMainTesting::LastMode(main), u"mod4"_qs);
    QVERIFY(main->Grd1()->Rows() > 2);
    const QByteArray shown = readBytes(FrmTamvexMainTesting::TempPagePath(main));
    QVERIFY(shown.contains(QByteArrayLiteral("<font color=red>") + big5(u"發熱"_qs) + QByteArrayLiteral("</font>")));
    QCOMPARE(withoutMarks(shown), readBytes(recordPagePath(fixture.folder(), main->Grd1()->TextMatrix(1, 1))));
}

QTEST_MAIN(TestFaultsQueries)
#include "test_faults_queries.moc"
