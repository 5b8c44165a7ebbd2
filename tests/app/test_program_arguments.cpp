// Where the programs keep their work and which collection the desktop
// program opens.

#include "desktoparguments.h"
#include "workfolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class TestProgramArguments : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void desktopArguments_data();
    void desktopArguments();
    void workFolderIsTmpWhereverItCanBe_data();
    void workFolderIsTmpWhereverItCanBe();
    void workFolderOfAReadOnlyFolderIsInTheCache();

private:
    QTemporaryDir m_dir;
    QTemporaryDir m_cache;
};

void TestProgramArguments::initTestCase()
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("collection")));
    QFile database(m_dir.filePath(QStringLiteral("collection/jst.mdb")));
    QVERIFY(database.open(QIODevice::WriteOnly));
}

void TestProgramArguments::desktopArguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("error");
    const QString collection = m_dir.filePath(QStringLiteral("collection"));
    QTest::newRow("none: the program's own folder") << QStringList() << QString() << false;
    QTest::newRow("--program-folder DIR") << QStringList{QStringLiteral("--program-folder"), collection} << collection
                                          << false;
    QTest::newRow("a folder, as a file manager opens it") << QStringList{collection} << collection << false;
    QTest::newRow("its jst.mdb: the folder that holds it")
        << QStringList{collection + QStringLiteral("/jst.mdb")} << collection << false;
    QTest::newRow("a folder that does not exist")
        << QStringList{QStringLiteral("--program-folder"), m_dir.filePath(QStringLiteral("none"))} << QString() << true;
    QTest::newRow("--program-folder without DIR") << QStringList{QStringLiteral("--program-folder")} << QString()
                                                  << true;
    QTest::newRow("an empty DIR") << QStringList{QStringLiteral("--program-folder"), QString()} << QString() << true;
    QTest::newRow("an unknown option") << QStringList{QStringLiteral("--bogus")} << QString() << true;
    QTest::newRow("two paths") << QStringList{collection, collection} << QString() << true;
}

void TestProgramArguments::desktopArguments()
{
    QFETCH(QStringList, args);
    QFETCH(QString, folder);
    QFETCH(bool, error);
    const DesktopArguments parsed = parseDesktopArguments(args);
    QCOMPARE(parsed.programFolder, folder);
    QCOMPARE(!parsed.error.isEmpty(), error);
}

void TestProgramArguments::workFolderIsTmpWhereverItCanBe_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<bool>("ownTmp");
    QTest::newRow("no tmp yet: tmp, not made") << QString() << true;
    QTest::newRow("a tmp folder") << QStringLiteral("folder") << true;
    QTest::newRow("a file named tmp: the cache") << QStringLiteral("file") << false;
}

void TestProgramArguments::workFolderIsTmpWhereverItCanBe()
{
    QFETCH(QString, setup);
    QFETCH(bool, ownTmp);
    QTemporaryDir folder;
    const QString tmp = folder.path() + QStringLiteral("/tmp");
    if (setup == QLatin1String("folder"))
        QVERIFY(QDir().mkdir(tmp));
    if (setup == QLatin1String("file"))
        QVERIFY(QFile(tmp).open(QIODevice::WriteOnly));
    const QString work = workFolder(folder.path());
    QCOMPARE(work, ownTmp ? tmp : cacheWorkFolder(folder.path()));
    QCOMPARE(QFileInfo(tmp).isDir(), setup == QLatin1String("folder"));
    QVERIFY(work.startsWith(ownTmp ? folder.path() : m_cache.path()));
    QVERIFY(ownTmp || QFileInfo(work).isDir());
}

void TestProgramArguments::workFolderOfAReadOnlyFolderIsInTheCache()
{
    if (::geteuid() != 0)
        QSKIP("needs root for a read-only bind mount");
    QTemporaryDir folder;
    const QString path = folder.path();
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("--bind"), path, path}) != 0)
        QSKIP("mount refused");
    QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), path});
    const QString work = workFolder(path);
    QProcess::execute(QStringLiteral("umount"), {path});
    QCOMPARE(work, cacheWorkFolder(path));
    QVERIFY(QFileInfo(work).isDir());
    // Another collection gets a folder of its own.
    QVERIFY(cacheWorkFolder(m_dir.filePath(QStringLiteral("collection"))) != work);
}

QTEST_GUILESS_MAIN(TestProgramArguments)
#include "test_program_arguments.moc"
