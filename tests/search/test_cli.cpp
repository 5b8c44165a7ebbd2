#include "testdatabase.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run runCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), args);
    process.waitForFinished(60000);
    return Run{process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}
}

class TestCli : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void statementPrintsThreeLinesExactly_data();
    void statementPrintsThreeLinesExactly();
    void searchPrintsRowsOrMessageOrFailure_data();
    void searchPrintsRowsOrMessageOrFailure();
    void searchUsesItsOwnFolderByDefault();
};

void TestCli::statementPrintsThreeLinesExactly_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty") << QString()
        << QByteArray("mod1\n\nselect subject,htm from  maindata order by date desc\n");
    QTest::newRow("any term") << u"+發熱 頭痛"_qs
        << u"mod4\n發熱 頭痛\nselect subject,htm from  maindata where 1=2  or content like '%發熱%'   or content like '%頭痛%' \n"_qs.toUtf8();
    QTest::newRow("apostrophe") << u"it's"_qs
        << u"mod3a\nit'&chr(39)&'s\nselect subject,htm from  maindata where 1=1 and content like '%it'&chr(39)&'s%' order by [date] desc \n"_qs.toUtf8();
    QTest::newRow("minus alone, trimmed") << u"  - "_qs
        << QByteArray("mod3\n\nselect subject,htm from  maindata where 1=1order by [date] desc \n");
}

void TestCli::statementPrintsThreeLinesExactly()
{
    QFETCH(QString, query);
    QFETCH(QByteArray, expected);
    const Run run = runCli({u"statement"_qs, query});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, expected);
}

void TestCli::searchPrintsRowsOrMessageOrFailure_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    QTest::newRow("rows as stored") << u"-發熱"_qs << 0
        << u"溫病 發熱\tbooks\\wen\\p02.htm\n傷寒論 發熱\tp01.htm\n"_qs.toUtf8() << QByteArray();
    QTest::newRow("plus alone: the message") << u"+"_qs << 1 << QByteArray()
        << u" 全文檢索搜尋\u3000[  ]\u3000資料不存在\n"_qs.toUtf8();
    QTest::newRow("apostrophe without match") << u"it's"_qs << 1 << QByteArray()
        << u" 全文檢索搜尋\u3000[ it'&chr(39)&'s ]\u3000資料不存在\n"_qs.toUtf8();
    QTest::newRow("unreadable pattern fails") << u"[x"_qs << 2 << QByteArray() << QByteArray("-2147217913");
}

void TestCli::searchPrintsRowsOrMessageOrFailure()
{
    QFETCH(QString, query);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QTemporaryDir dir;
    QVERIFY(writeTestDatabase(dir.path(), standardRecords()));
    const Run run = runCli({u"search"_qs, u"--program-folder"_qs, dir.path(), query});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.out, out);
    if (exitCode == 2)
        QVERIFY2(run.err.contains(err), run.err.constData());
    else
        QCOMPARE(run.err, err);
}

void TestCli::searchUsesItsOwnFolderByDefault()
{
    // The installation folder holds the sample collection beside the tool.
    const Run run = runCli({u"search"_qs, QString()});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.count('\n') >= 40);
}

QTEST_GUILESS_MAIN(TestCli)
#include "test_cli.moc"
