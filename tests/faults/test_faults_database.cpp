// Faults of jst.mdb, seen through the real main window: the message names the
// file and says what to do, the result list keeps what it had, and the next
// search after the fault is gone works.

#include "faultfolder.h"

#include <QProcess>

#include <sys/stat.h>

using namespace Faults;

class TestFaultsDatabase : public QObject {
    Q_OBJECT
public:
    static void initMain() { QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts); }

private Q_SLOTS:
    void badDatabaseAtStart_data();
    void badDatabaseAtStart();
    void lockedDatabaseThenReleased();
    void replacedBetweenTwoSearches();
};

void TestFaultsDatabase::badDatabaseAtStart_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("advice");
    const QString install = u"database file jst.mdb in the program folder"_qs;
    // As root every permission bit is ignored, so "unreadable" is made of
    // files that cannot be opened as a database whatever the rights: a
    // folder, a FIFO (opening it would block), a link to nothing.
    QTest::newRow("missing") << u"missing"_qs << install;
    QTest::newRow("folder of that name") << u"folder"_qs << u"is not a file"_qs;
    QTest::newRow("FIFO of that name") << u"fifo"_qs << u"is not a file"_qs;
    QTest::newRow("dangling link") << u"dangling"_qs << install;
    QTest::newRow("zero bytes") << u"empty"_qs << install;
    QTest::newRow("text, not a database") << u"text"_qs << install;
    QTest::newRow("SQLite without maindata") << u"notable"_qs << install;
    QTest::newRow("Jet file cut short") << u"jst_truncated.mdb"_qs << install;
    QTest::newRow("Jet header, garbage pages") << u"jst_garbage.mdb"_qs << install;
}

void TestFaultsDatabase::badDatabaseAtStart()
{
    QFETCH(QString, kind);
    QFETCH(QString, advice);
    MainWindowFixture fixture;
    const QString db = fixture.folder() + u"/jst.mdb"_qs;
    QVERIFY(QFile::remove(db));
    if (kind == u"folder"_qs)
        QVERIFY(QDir().mkdir(db));
    else if (kind == u"fifo"_qs)
        QCOMPARE(::mkfifo(QFile::encodeName(db).constData(), 0644), 0);
    else if (kind == u"dangling"_qs)
        QVERIFY(QFile::link(fixture.folder() + u"/gone.mdb"_qs, db));
    else if (kind == u"empty"_qs)
        QVERIFY(writeBytes(db, QByteArray()));
    else if (kind == u"text"_qs)
        QVERIFY(writeBytes(db, QByteArrayLiteral("This is not a database.\r\n")));
    else if (kind == u"notable"_qs)
        QCOMPARE(QProcess::execute(u"/usr/bin/python3"_qs,
                     {u"-c"_qs, u"import sqlite3,sys; sqlite3.connect(sys.argv[1]).execute('create table other(x)')"_qs, db}), 0);
    else if (kind.endsWith(u".mdb"_qs))
        QVERIFY(QFile::copy(QStringLiteral(TAMVEX_FIXTURES_DIR "/jet/") + kind, db));

    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    QCOMPARE(fixture.messages.size(), 1);
    const QString prompt = fixture.messages.first().prompt;
    QVERIFY2(prompt.contains(db), qPrintable(prompt));
    QVERIFY2(prompt.contains(advice), qPrintable(prompt));
    // The failure's number is part of the report.
    QVERIFY2(prompt.contains(u"-2147"_qs), qPrintable(prompt));
    // The window stays usable: the list is empty, the help page is shown.
    QVERIFY(main->isVisible());
    QVERIFY(main->navigatedPath().endsWith(u"/Help.htm"_qs));

    // Once a good database is back, the next search finds rows.
    clear(db);
    QVERIFY(QFile::copy(QStringLiteral(TAMVEX_FIXTURES_DIR "/jet/jst_small.mdb"), db));
    search(main, QString());
    QCOMPARE(fixture.messages.size(), 1);
    QCOMPARE(main->Grd1()->Rows(), 14); // header and the fixture's 13 rows
}

void TestFaultsDatabase::lockedDatabaseThenReleased()
{
    MainWindowFixture fixture;
    const QString db = fixture.folder() + u"/jst.mdb"_qs;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    search(main, u"發熱"_qs);
    const int rowsBefore = main->Grd1()->Rows();
    const QString firstBefore = main->Grd1()->TextMatrix(1, 0);
    QVERIFY(rowsBefore > 2);

    // Another process holds an exclusive lock until its input closes.
    QProcess holder;
    holder.start(u"/usr/bin/python3"_qs,
                 {u"-c"_qs, u"import sqlite3,sys\n"
                            "c=sqlite3.connect(sys.argv[1],isolation_level=None)\n"
                            "c.execute('PRAGMA locking_mode=EXCLUSIVE')\n"
                            "c.execute('BEGIN EXCLUSIVE')\n"
                            "print('locked',flush=True)\n"
                            "sys.stdin.read()\n"_qs,
                  db});
    QVERIFY(holder.waitForReadyRead(10000));
    QCOMPARE(holder.readAllStandardOutput().trimmed(), QByteArray("locked"));

    search(main, u"頭痛"_qs);
    QVERIFY2(fixture.messages.size() == 1, qPrintable(allPrompts(fixture.messages)));
    const QString prompt = fixture.messages.first().prompt;
    QVERIFY2(prompt.contains(db), qPrintable(prompt));
    QVERIFY2(prompt.contains(u"locked by another program"_qs), qPrintable(prompt));
    QVERIFY2(prompt.contains(u"then search again"_qs), qPrintable(prompt));
    // Nothing lost: the list still holds the earlier search.
    QCOMPARE(main->Grd1()->Rows(), rowsBefore);
    QCOMPARE(main->Grd1()->TextMatrix(1, 0), firstBefore);

    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(10000));
    search(main, u"頭痛"_qs);
    QCOMPARE(fixture.messages.size(), 1);
    QVERIFY(main->Grd1()->Rows() > 1);
}

void TestFaultsDatabase::replacedBetweenTwoSearches()
{
    MainWindowFixture fixture;
    const QString db = fixture.folder() + u"/jst.mdb"_qs;
    FrmTamvexMain *main = fixture.openMainWindow();
    QVERIFY(main);
    search(main, QString());
    QVERIFY(main->Grd1()->Rows() > 14);

    // An installer swaps in another collection's file while the window is open.
    const QString next = fixture.folder() + u"/jst.next"_qs;
    QVERIFY(QFile::copy(QStringLiteral(TAMVEX_FIXTURES_DIR "/jet/jst_small.mdb"), next));
    QVERIFY(QFile::remove(db));
    QVERIFY(QFile::rename(next, db));
    search(main, QString());
    QCOMPARE(main->Grd1()->Rows(), 14);

    // And back to an SQLite file of one record.
    QCOMPARE(QProcess::execute(u"/usr/bin/python3"_qs,
                 {u"-c"_qs, u"import sqlite3,sys\n"
                            "c=sqlite3.connect(sys.argv[1])\n"
                            "c.execute('create table maindata(subject,htm,content,date)')\n"
                            "c.execute(\"insert into maindata values('only one','none.htm','x','2000-01-01 00:00:00')\")\n"
                            "c.commit()\n"_qs,
                  next}),
             0);
    QVERIFY(QFile::remove(db));
    QVERIFY(QFile::rename(next, db));
    search(main, QString());
    QCOMPARE(main->Grd1()->Rows(), 2);
    QCOMPARE(main->Grd1()->TextMatrix(1, 0), u"only one"_qs);
    QVERIFY(fixture.messages.isEmpty());
}

QTEST_MAIN(TestFaultsDatabase)
#include "test_faults_database.moc"
