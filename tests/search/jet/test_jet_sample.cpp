// The sample collection as a Jet file gives the same rows, in the same
// order, as the SQLite original for every kind of query.
#include <QFile>
#include <QProcess>
#include <QTest>

namespace {
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run search(const QString &folder, const QString &query)
{
    QProcess cli;
    cli.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), {u"search"_qs, u"--program-folder"_qs, folder, query});
    cli.waitForFinished(60000);
    return Run{cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}
}

class TestJetSample : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jetCopyIsAJetFile();
    void sameRowsAsTheSqliteCollection_data();
    void sameRowsAsTheSqliteCollection();
};

void TestJetSample::jetCopyIsAJetFile()
{
    QFile file(QStringLiteral(JET_SAMPLE_DIR "/jst.mdb"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.read(19).mid(4), QByteArray("Standard Jet DB"));
}

void TestJetSample::sameRowsAsTheSqliteCollection_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("list all") << QString();
    QTest::newRow("all terms") << u"發熱 頭痛"_qs;
    QTest::newRow("all terms with prefix") << u"-發熱"_qs;
    QTest::newRow("any term, storage order") << u"+發熱 頭痛"_qs;
    QTest::newRow("apostrophe") << u"physician's"_qs;
    QTest::newRow("minus alone") << u"-"_qs;
    QTest::newRow("plus alone finds nothing") << u"+"_qs;
    QTest::newRow("letter case") << u"abc"_qs;
    QTest::newRow("underscore and set") << u"羌_ [x]"_qs;
    QTest::newRow("character beyond the BMP") << u"\U0002000B"_qs;
    QTest::newRow("empty term keeps null out") << u"+蟾酥  蟾酥"_qs;
    QTest::newRow("unreadable pattern") << u"[x"_qs;
}

void TestJetSample::sameRowsAsTheSqliteCollection()
{
    QFETCH(QString, query);
    const Run sqlite = search(QStringLiteral(TAMVEX_INSTALL_DIR), query);
    const Run jet = search(QStringLiteral(JET_SAMPLE_DIR), query);
    QCOMPARE(jet.exitCode, sqlite.exitCode);
    QCOMPARE(jet.out, sqlite.out);
    if (sqlite.exitCode == 1)
        QCOMPARE(jet.err, sqlite.err);
}

QTEST_GUILESS_MAIN(TestJetSample)
#include "test_jet_sample.moc"
