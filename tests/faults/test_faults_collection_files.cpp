// Hostile states of the collection's files, caused on real files and seen
// through tamvex-cli as a script sees them: exit code, standard error and
// the files left in the folder.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <sqlite3.h>
#include <unistd.h>

namespace {

const QString Cli = QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli");

struct Run {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QString err;
    QByteArray out;
};

Run finish(QProcess &process)
{
    process.waitForFinished(120000);
    return Run{process.exitStatus(), process.exitCode(), QString::fromUtf8(process.readAllStandardError()),
               process.readAllStandardOutput()};
}

// Messages in English, which the cases read.
void speakEnglish(QProcess &process)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("en_US.UTF-8"));
    process.setProcessEnvironment(env);
}

Run runCli(const QStringList &args)
{
    QProcess process;
    speakEnglish(process);
    process.start(Cli, args);
    return finish(process);
}

bool exec(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK
              && sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

int count(const QString &path, const char *sql)
{
    sqlite3 *db = nullptr;
    sqlite3_stmt *stmt = nullptr;
    int n = -1;
    if (sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK
        && sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        n = sqlite3_column_int(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return n;
}

// A maindata of rows records of about 2 KB, none holding "zzqx", two
// holding "發熱".
bool makeCollection(const QString &path, int rows)
{
    const QByteArray sql = "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT);"
                           "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                           + QByteArray::number(rows)
                           + ") INSERT INTO maindata SELECT 'r' || i, 'p' || i || '.htm', hex(randomblob(1000)), "
                             "'2000-01-01' FROM n;"
                             "INSERT INTO maindata VALUES('a', 'a.htm', '太陽病，發熱。', '1990-01-01'),"
                             "('b', 'b.htm', '發熱而渴', '2001-01-01');";
    return exec(path, sql.constData());
}

QStringList folderListing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool isRoot()
{
    return ::geteuid() == 0;
}

// A small tmpfs, mounted for one test when the tests run as root (as in CI).
class SmallFileSystem {
public:
    SmallFileSystem(const QString &where, const QString &size) : m_where(where)
    {
        QDir().mkpath(where);
        m_mounted = isRoot()
                    && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                                                   QStringLiteral("-o"), QStringLiteral("size=") + size,
                                                                   QStringLiteral("tamvex-test"), where})
                           == 0;
    }
    ~SmallFileSystem()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_where});
    }
    bool mounted() const { return m_mounted; }
    bool makeReadOnly() const
    {
        return QProcess::execute(QStringLiteral("mount"),
                                 {QStringLiteral("-o"), QStringLiteral("remount,ro"), m_where})
               == 0;
    }

private:
    QString m_where;
    bool m_mounted = false;
};

// Ends a process that is in the middle of a change to path, leaving its
// rollback journal hot, as a writer that crashed does.
bool leaveUnfinishedChange(const QString &path)
{
    const QString script = QStringLiteral("import sqlite3, os, sys\n"
                                          "c = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                          "c.execute('PRAGMA cache_size=10')\n"
                                          "c.execute('BEGIN')\n"
                                          "c.execute(\"UPDATE maindata SET content = content || 'x'\")\n"
                                          "os._exit(0)\n");
    return QProcess::execute(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path}) == 0
           && QFileInfo(path + QStringLiteral("-journal")).size() > 0;
}
}

class TestFaultsCollectionFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rewriteInPlaceNeverEndsTheProgram_data();
    void rewriteInPlaceNeverEndsTheProgram();
    void unfinishedChangeIsRolledBack();
    void unfinishedChangeInAReadOnlyFolderIsExplained();
    void missingDateColumnFailsAlikeOnEveryPath_data();
    void missingDateColumnFailsAlikeOnEveryPath();
    void walFileLeavesTheFolderAsItWas();
    void markOnAFullDiskLeavesNoCutPage();
};

void TestFaultsCollectionFiles::rewriteInPlaceNeverEndsTheProgram_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("delayMs");
    const QStringList search{QStringLiteral("search"), QStringLiteral("zzqx")};
    const QStringList index{QStringLiteral("index")};
    for (int delay : {10, 40, 120}) {
        QTest::addRow("search, rewritten after %d ms", delay) << search << delay;
        QTest::addRow("index build, rewritten after %d ms", delay) << index << delay;
    }
}

// A copy over the file (cp other.mdb jst.mdb) cuts it and writes another
// file in its place while the reader is inside it.
void TestFaultsCollectionFiles::rewriteInPlaceNeverEndsTheProgram()
{
    QFETCH(QStringList, command);
    QFETCH(int, delayMs);
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.mdb"));
    const QString small = dir.filePath(QStringLiteral("small.mdb"));
    QVERIFY(makeCollection(big, 40000));
    QVERIFY(makeCollection(small, 10));
    const QString database = dir.filePath(QStringLiteral("jst.mdb"));
    QVERIFY(QFile::copy(big, database));
    QFile smallFile(small);
    QVERIFY(smallFile.open(QIODevice::ReadOnly));
    const QByteArray replacement = smallFile.readAll();

    QProcess process;
    speakEnglish(process);
    process.start(Cli, QStringList{command.first(), QStringLiteral("--program-folder"), dir.path()} + command.mid(1));
    QVERIFY(process.waitForStarted());
    QThread::msleep(ulong(delayMs));
    QFile inPlace(database);
    QVERIFY(inPlace.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(inPlace.write(replacement), replacement.size());
    inPlace.close();
    const Run run = finish(process);
    QCOMPARE(run.status, QProcess::NormalExit);
    QVERIFY2(run.exitCode == 0 || run.exitCode == 1 || run.exitCode == 2, qPrintable(run.err));
    if (run.exitCode == 2)
        QVERIFY2(run.err.contains(QStringLiteral("changed by another program")) || run.err.contains(dir.path()),
                 qPrintable(run.err));
    // Whatever the outcome, the next search reads the new file.
    const Run after = runCli({QStringLiteral("search"), QStringLiteral("--program-folder"), dir.path(),
                              QStringLiteral("發熱")});
    QCOMPARE(after.exitCode, 0);
    QCOMPARE(after.out.count('\n'), 2);
}

void TestFaultsCollectionFiles::unfinishedChangeIsRolledBack()
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("jst.mdb"));
    QVERIFY(makeCollection(database, 3000));
    QVERIFY(leaveUnfinishedChange(database));
    const Run run = runCli({QStringLiteral("search"), QStringLiteral("--program-folder"), dir.path(),
                            QStringLiteral("發熱")});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out), QStringLiteral("b\tb.htm\na\ta.htm\n"));
    // The file is what it was before the change began.
    QCOMPARE(count(database, "SELECT count(*) FROM maindata WHERE content LIKE '%x'"), 0);
    QVERIFY(!QFileInfo::exists(database + QStringLiteral("-journal")));
}

void TestFaultsCollectionFiles::unfinishedChangeInAReadOnlyFolderIsExplained()
{
    QTemporaryDir dir;
    SmallFileSystem fs(dir.filePath(QStringLiteral("collection")), QStringLiteral("32m"));
    if (!fs.mounted())
        QSKIP("needs root to mount a file system that even root cannot write");
    const QString folder = dir.filePath(QStringLiteral("collection"));
    const QString database = folder + QStringLiteral("/jst.mdb");
    QVERIFY(makeCollection(database, 3000));
    QVERIFY(leaveUnfinishedChange(database));
    QVERIFY(fs.makeReadOnly());
    const Run run = runCli({QStringLiteral("search"), QStringLiteral("--program-folder"), folder,
                            QStringLiteral("發熱")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("unfinished change")) && run.err.contains(QStringLiteral("Nothing is lost")),
             qPrintable(run.err));
    QVERIFY(QFileInfo(database + QStringLiteral("-journal")).size() > 0);
}

void TestFaultsCollectionFiles::missingDateColumnFailsAlikeOnEveryPath_data()
{
    QTest::addColumn<QStringList>("command");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("told");
    const QString noDate = QStringLiteral("no such column: date");
    QTest::newRow("list-all") << QStringList{QStringLiteral("search"), QString()} << 2 << noDate;
    QTest::newRow("one term") << QStringList{QStringLiteral("search"), QStringLiteral("發熱")} << 2 << noDate;
    QTest::newRow("all terms") << QStringList{QStringLiteral("search"), QStringLiteral("發熱 太陽")} << 2 << noDate;
    QTest::newRow("all terms, with minus") << QStringList{QStringLiteral("search"), QStringLiteral("-發熱")} << 2
                                           << noDate;
    QTest::newRow("any term: no order by date, so rows")
        << QStringList{QStringLiteral("search"), QStringLiteral("+發熱")} << 0 << QString();
    QTest::newRow("index build") << QStringList{QStringLiteral("index")} << 2 << noDate;
}

// SQLite reads a double-quoted name that names no column as a string; a
// term search would then run in no order while the list-all failed.
void TestFaultsCollectionFiles::missingDateColumnFailsAlikeOnEveryPath()
{
    QFETCH(QStringList, command);
    QFETCH(int, exitCode);
    QFETCH(QString, told);
    QTemporaryDir dir;
    QVERIFY(exec(dir.filePath(QStringLiteral("jst.mdb")),
                 "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT);"
                 "INSERT INTO maindata VALUES('a', 'a.htm', '發熱'), ('b', 'b.htm', '太陽 發熱');"));
    const Run run = runCli(QStringList{command.first(), QStringLiteral("--program-folder"), dir.path()} + command.mid(1));
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.err.contains(told), qPrintable(run.err));
}

void TestFaultsCollectionFiles::walFileLeavesTheFolderAsItWas()
{
    QTemporaryDir dir;
    const QString database = dir.filePath(QStringLiteral("jst.mdb"));
    QVERIFY(makeCollection(database, 100));
    QVERIFY(exec(database, "PRAGMA journal_mode=WAL"));
    const QStringList before = folderListing(dir.path());
    QCOMPARE(before, QStringList{QStringLiteral("jst.mdb")});
    for (const QString &query : {QStringLiteral("發熱"), QString()}) {
        const Run run = runCli({QStringLiteral("search"), QStringLiteral("--program-folder"), dir.path(), query});
        QCOMPARE(run.exitCode, 0);
    }
    QCOMPARE(folderListing(dir.path()), before);
}

void TestFaultsCollectionFiles::markOnAFullDiskLeavesNoCutPage()
{
    QTemporaryDir dir;
    SmallFileSystem fs(dir.filePath(QStringLiteral("tmp")), QStringLiteral("64k"));
    if (!fs.mounted())
        QSKIP("needs root to mount a small file system");
    QFile page(dir.filePath(QStringLiteral("p.htm")));
    QVERIFY(page.open(QIODevice::WriteOnly));
    page.write(QByteArray("<html><body>") + QByteArray(300000, 'a') + QByteArray("</body></html>"));
    page.close();
    const Run run = runCli({QStringLiteral("mark"), QStringLiteral("--program-folder"), dir.path(),
                            QStringLiteral("p.htm"), QStringLiteral("a")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("Cannot write the temporary page")), qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(dir.filePath(QStringLiteral("tmp/TmpVORNAX.htm"))));
}

QTEST_GUILESS_MAIN(TestFaultsCollectionFiles)
#include "test_faults_collection_files.moc"
