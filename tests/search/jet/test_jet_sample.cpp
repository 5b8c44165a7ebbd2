// The sample collection as a Jet file gives the same rows, in the same
// order, as the SQLite original for every kind of query.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run cli(const QStringList &args)
{
    QProcess cli;
    cli.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), args);
    cli.waitForFinished(60000);
    return Run{cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

Run search(const QString &folder, const QString &query)
{
    return cli({u"search"_qs, u"--program-folder"_qs, folder, query});
}

void compareWithSqlite(const QString &jetFolder, const QString &query)
{
    const Run sqlite = search(QStringLiteral(TAMVEX_INSTALL_DIR), query);
    const Run jet = search(jetFolder, query);
    QCOMPARE(jet.exitCode, sqlite.exitCode);
    QCOMPARE(jet.out, sqlite.out);
    if (sqlite.exitCode == 1)
        QCOMPARE(jet.err, sqlite.err);
}
}

class TestJetSample : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void jetCopyIsAJetFile();
    void sameRowsAsTheSqliteCollection_data();
    void sameRowsAsTheSqliteCollection();
    void sameRowsWithAKeptIndex_data() { sameRowsAsTheSqliteCollection_data(); }
    void sameRowsWithAKeptIndex();

private:
    // The Jet copy in a folder of its own, indexed by "tamvex-cli index".
    QTemporaryDir m_indexed;
};

void TestJetSample::initTestCase()
{
    QVERIFY(m_indexed.isValid());
    QVERIFY(QFile::copy(QStringLiteral(JET_SAMPLE_DIR "/jst.mdb"), m_indexed.filePath(u"jst.mdb"_qs)));
    const Run built = cli({u"index"_qs, u"--program-folder"_qs, m_indexed.path()});
    QVERIFY2(built.exitCode == 0, built.err.constData());
    QVERIFY(!QDir(m_indexed.filePath(u"tmp"_qs)).entryList({u"tamvex-index-*.idx"_qs}, QDir::Files).isEmpty());
}

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
    compareWithSqlite(QStringLiteral(JET_SAMPLE_DIR), query);
}

void TestJetSample::sameRowsWithAKeptIndex()
{
    // The index of a Jet file answers from its own catalogue: the exact
    // terms without reading the file, the others confirmed on its rows.
    QFETCH(QString, query);
    compareWithSqlite(m_indexed.path(), query);
}

QTEST_GUILESS_MAIN(TestJetSample)
#include "test_jet_sample.moc"
