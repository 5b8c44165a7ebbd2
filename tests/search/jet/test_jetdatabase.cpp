#include "jetdatabase.h"
#include "jetfixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Fixtures = QStringLiteral(TAMVEX_FIXTURES_DIR "/jet");
const QString Generated = QStringLiteral(JET_GENERATED_DIR);

QString fixture(const QString &name) { return Fixtures + u'/' + name; }

bool copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    return QFile::copy(from, to) && QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
}

// A stand-in for the reader program: for what a real Jet file cannot be
// made to do here (hang the library, crash it, write a broken stream).
QString writeStandIn(const QString &folder, const QString &name, const QByteArray &script)
{
    const QString path = folder + u'/' + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n" + script + '\n');
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

QByteArray endRecord(quint64 written, quint64 numRows)
{
    QByteArray out("TJW1E");
    for (quint64 v : {written, numRows})
        for (int i = 0; i < 8; ++i)
            out.append(char((v >> (8 * i)) & 0xFF));
    return out;
}

// The child's failure record: a reason code and its arguments, or any text.
QByteArray failureRecord(const QByteArray &reason)
{
    QByteArray out("TJW1X");
    for (int i = 0; i < 4; ++i)
        out.append(char((reason.size() >> (8 * i)) & 0xFF));
    return out + reason;
}
}

class TestJetDatabase : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recognisesJetFiles_data();
    void recognisesJetFiles();
    void fixtureRowsComeBackExactly();
    void tableHasExactlyTheExpectedSchema();
    void unreadableFilesFail_data();
    void unreadableFilesFail();
    void readerProblemsFail_data();
    void readerProblemsFail();
    void missingReaderFails();
    void unchangedFileIsNotReadAgain();
    void changedFileIsReadAgain();
    void replacedByDamagedFileFails();

private:
    QTemporaryDir m_dir;
};

void TestJetDatabase::recognisesJetFiles_data()
{
    QTest::addColumn<QByteArray>("head");
    QTest::addColumn<bool>("jet");
    QTest::newRow("Jet") << QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 20) << true;
    QTest::newRow("ACE") << QByteArray("\x00\x01\x00\x00Standard ACE DB\x00", 20) << true;
    QTest::newRow("SQLite") << QByteArray("SQLite format 3\x00", 16) << false;
    QTest::newRow("mark cut short") << QByteArray("\x00\x01\x00\x00Standard Jet", 16) << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestJetDatabase::recognisesJetFiles()
{
    QFETCH(QByteArray, head);
    QFETCH(bool, jet);
    const QString path = m_dir.filePath(u"head.bin"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(head);
    file.close();
    QCOMPARE(isJetFile(path), jet);
}

void TestJetDatabase::fixtureRowsComeBackExactly()
{
    auto db = openJetDatabase(fixture(u"jst_small.mdb"_qs));
    QVERIFY2(db.ok(), qPrintable(db.failure().description));
    QCOMPARE(describeTable(db->get()), expectedLines(fixture(u"jst_small.expected.tsv"_qs)));
}

void TestJetDatabase::tableHasExactlyTheExpectedSchema()
{
    auto db = openJetDatabase(fixture(u"jst_small.mdb"_qs));
    QVERIFY2(db.ok(), qPrintable(db.failure().description));
    sqlite3_stmt *query = nullptr;
    QCOMPARE(sqlite3_prepare_v2(db->get(), "SELECT group_concat(sql, ';') FROM sqlite_schema", -1, &query, nullptr), SQLITE_OK);
    QCOMPARE(sqlite3_step(query), SQLITE_ROW);
    const QByteArray schema(reinterpret_cast<const char *>(sqlite3_column_text(query, 0)));
    sqlite3_finalize(query);
    QCOMPARE(schema, QByteArray("CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date REAL)"));
}

void TestJetDatabase::unreadableFilesFail_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("cut inside a memo chain") << fixture(u"jst_truncated.mdb"_qs) << u"memo value is damaged (44836 bytes read, 80008 declared)"_qs;
    QTest::newRow("random pages after the header") << fixture(u"jst_garbage.mdb"_qs) << u"catalogue cannot be read"_qs;
    QTest::newRow("no table maindata") << fixture(u"node-adodb.mdb"_qs) << u"no table maindata"_qs;
    QTest::newRow("not a Jet file") << fixture(u"jst_small.expected.tsv"_qs) << u"not a Jet database"_qs;
    QTest::newRow("missing file") << fixture(u"no-such.mdb"_qs) << u"does not exist"_qs;
}

void TestJetDatabase::unreadableFilesFail()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    auto db = openJetDatabase(file, 20000);
    QVERIFY(!db.ok());
    QCOMPARE(db.failure().number, FailureNumber::JetRead);
    QVERIFY2(db.failure().description.contains(QFileInfo(file).fileName()), qPrintable(db.failure().description));
    QVERIFY2(db.failure().description.contains(reason), qPrintable(db.failure().description));
}

void TestJetDatabase::readerProblemsFail_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QString>("reason");
    QTest::newRow("hangs past the time limit") << QByteArray("exec sleep 30") << QByteArray() << u"longer than 0.5 seconds"_qs;
    QTest::newRow("crashes") << QByteArray("echo 'bad page' >&2; kill -SEGV $$") << QByteArray()
                             << u"stopped abnormally; the file may be damaged (reader: bad page)"_qs;
    QTest::newRow("writes no stream") << QByteArray("echo hello") << QByteArray() << u"does not start with the expected mark"_qs;
    QTest::newRow("stops inside a row") << QByteArray("cat \"$0.out\"") << QByteArray("TJW1R\x01\x09\x00\x00\x00" "abc", 14)
                                         << u"ended early"_qs;
    QTest::newRow("fewer rows than the table holds") << QByteArray("cat \"$0.out\"") << endRecord(0, 5)
                                                     << u"0 rows of table maindata could be read, but the table holds 5"_qs;
    QTest::newRow("unknown value kind") << QByteArray("cat \"$0.out\"") << QByteArray("TJW1R\x07", 6)
                                        << u"unknown kind"_qs;
    QTest::newRow("reason with arguments") << QByteArray("cat \"$0.out\"; exit 1")
                                           << failureRecord("memo-damaged\x1f" "7\x1f" "content\x1f" "3\x1f" "9")
                                           << u"row 7 of table maindata, column content: its memo value is damaged (3 bytes read, 9 declared)"_qs;
    QTest::newRow("argument that looks like a placeholder") << QByteArray("cat \"$0.out\"; exit 1")
                                                            << failureRecord("no-column\x1f%2date")
                                                            << u"table maindata has no column %2date."_qs;
    QTest::newRow("reason the program does not know") << QByteArray("cat \"$0.out\"; exit 1")
                                                      << failureRecord("disk-on-fire\x1fsector 9")
                                                      << u"disk-on-fire sector 9."_qs;
}

void TestJetDatabase::readerProblemsFail()
{
    QFETCH(QByteArray, script);
    QFETCH(QByteArray, output);
    QFETCH(QString, reason);
    const QString reader = writeStandIn(m_dir.path(), QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'), script);
    QFile out(reader + u".out"_qs);
    QVERIFY(out.open(QIODevice::WriteOnly));
    out.write(output);
    out.close();
    auto db = loadJetDatabase(fixture(u"jst_small.mdb"_qs), reader, 500);
    QVERIFY(!db.ok());
    QCOMPARE(db.failure().number, FailureNumber::JetRead);
    QVERIFY2(db.failure().description.contains(u"jst_small.mdb"_qs), qPrintable(db.failure().description));
    QVERIFY2(db.failure().description.contains(reason), qPrintable(db.failure().description));
}

void TestJetDatabase::missingReaderFails()
{
    const QString reader = m_dir.filePath(u"no-such-reader"_qs);
    auto db = loadJetDatabase(fixture(u"jst_small.mdb"_qs), reader, 5000);
    QVERIFY(!db.ok());
    QCOMPARE(db.failure().number, FailureNumber::JetRead);
    QVERIFY2(db.failure().description.contains(u"jst_small.mdb"_qs), qPrintable(db.failure().description));
    QVERIFY2(db.failure().description.contains(reader + u"' is missing"_qs), qPrintable(db.failure().description));
}

void TestJetDatabase::unchangedFileIsNotReadAgain()
{
    const QString path = m_dir.filePath(u"unchanged.mdb"_qs);
    QVERIFY(copyFile(fixture(u"jst_small.mdb"_qs), path));
    auto first = openJetDatabase(path);
    QVERIFY2(first.ok(), qPrintable(first.failure().description));
    auto again = openJetDatabase(path);
    QVERIFY(again.ok());
    QCOMPARE(again->get(), first->get());
    // The same file under another spelling of its path.
    auto viaOtherPath = openJetDatabase(m_dir.path() + u"/./../"_qs + QDir(m_dir.path()).dirName() + u"/unchanged.mdb"_qs);
    QVERIFY(viaOtherPath.ok());
    QCOMPARE(viaOtherPath->get(), first->get());
}

void TestJetDatabase::changedFileIsReadAgain()
{
    const QString path = m_dir.filePath(u"changed.mdb"_qs);
    QVERIFY(copyFile(fixture(u"jst_small.mdb"_qs), path));
    auto first = openJetDatabase(path);
    QVERIFY2(first.ok(), qPrintable(first.failure().description));

    QVERIFY(copyFile(Generated + u"/replacement.mdb"_qs, path));
    auto replaced = openJetDatabase(path);
    QVERIFY2(replaced.ok(), qPrintable(replaced.failure().description));
    QVERIFY(replaced->get() != first->get());
    QCOMPARE(describeTable(replaced->get()), expectedLines(Generated + u"/replacement.expected.tsv"_qs));

    // Only the time stamp moves: still read again.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    file.close();
    auto touched = openJetDatabase(path);
    QVERIFY(touched.ok());
    QVERIFY(touched->get() != replaced->get());
    QCOMPARE(describeTable(touched->get()), expectedLines(Generated + u"/replacement.expected.tsv"_qs));
}

void TestJetDatabase::replacedByDamagedFileFails()
{
    const QString path = m_dir.filePath(u"damaged-later.mdb"_qs);
    QVERIFY(copyFile(fixture(u"jst_small.mdb"_qs), path));
    QVERIFY(openJetDatabase(path).ok());
    QVERIFY(copyFile(fixture(u"jst_truncated.mdb"_qs), path));
    auto db = openJetDatabase(path);
    QVERIFY(!db.ok());
    QVERIFY2(db.failure().description.contains(u"damaged"_qs), qPrintable(db.failure().description));
}

QTEST_GUILESS_MAIN(TestJetDatabase)
#include "test_jetdatabase.moc"
