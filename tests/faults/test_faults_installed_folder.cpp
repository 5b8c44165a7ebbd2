// A collection installed where the reader may not write (a package under
// /opt), and the desktop program pointed at a collection kept elsewhere.

#include "faultfolder.h"
#include "workfolder.h"

#include <QDirIterator>

#include <unistd.h>

namespace {

const QString Cli = QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli");
const QString Desktop = QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex");

// The folder made read-only in place for this process and every other
// (a read-only bind mount: as root, permission bits would not stop writes).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString &folder) : m_folder(folder)
    {
        m_mounted = ::geteuid() == 0
                    && QProcess::execute(QStringLiteral("mount"), {QStringLiteral("--bind"), folder, folder}) == 0;
        if (m_mounted)
            m_readOnly = QProcess::execute(QStringLiteral("mount"),
                                           {QStringLiteral("-o"), QStringLiteral("remount,bind,ro"), folder})
                         == 0;
    }
    ~ReadOnlyFolder()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_folder});
    }
    bool ready() const { return m_mounted && m_readOnly; }

private:
    QString m_folder;
    bool m_mounted = false;
    bool m_readOnly = false;
};

bool holdsAnIndex(const QString &folder)
{
    QDirIterator it(folder, {QStringLiteral("tamvex-index-*")}, QDir::Files);
    return it.hasNext();
}
}

class TestFaultsInstalledFolder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void readOnlyFolderMarksPagesFromTheCache();
    void desktopProgramTakesACollectionFolder_data();
    void desktopProgramTakesACollectionFolder();

private:
    QTemporaryDir m_cache;
};

void TestFaultsInstalledFolder::initTestCase()
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path()));
}

void TestFaultsInstalledFolder::readOnlyFolderMarksPagesFromTheCache()
{
    MainWindowFixture fixture;
    const QString folder = fixture.folder();
    ReadOnlyFolder readOnly(folder);
    if (!readOnly.ready())
        QSKIP("needs root for a read-only bind mount");
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/tmp")));
    const QString cache = cacheWorkFolder(folder);

    // The index of a script's "index" lands in the cache, and searches use it.
    QProcess index;
    index.start(Cli, {QStringLiteral("index"), QStringLiteral("--program-folder"), folder});
    QVERIFY(index.waitForFinished(120000));
    QCOMPARE(index.exitCode(), 0);
    QVERIFY(holdsAnIndex(cache));

    FrmTamvexMain *main = fixture.openMainWindow();
    Faults::search(main, QStringLiteral("發熱"));
    QVERIFY(main->Grd1()->Rows() > 1);
    QCOMPARE(main->navigatedPath(), cache + QStringLiteral("/TmpVORNAX.htm"));
    QVERIFY(Faults::pageShown(main));
    const int marks = MainWindowFixture::evaluate(main, QStringLiteral("document.querySelectorAll('font[color=red]').length"))
                          .toInt();
    QVERIFY(marks > 0);
    QVERIFY(fixture.messages.isEmpty());
    QVERIFY(!QFileInfo::exists(folder + QStringLiteral("/tmp")));
}

void TestFaultsInstalledFolder::desktopProgramTakesACollectionFolder_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("runs");
    const QString sample = QStringLiteral(TAMVEX_INSTALL_DIR);
    QTest::newRow("--program-folder DIR") << QStringList{QStringLiteral("--program-folder"), sample} << true;
    QTest::newRow("its jst.mdb, as a file manager opens it") << QStringList{sample + QStringLiteral("/jst.mdb")} << true;
    QTest::newRow("a folder that does not exist: usage, exit 64")
        << QStringList{QStringLiteral("--program-folder"), sample + QStringLiteral("/none")} << false;
}

// The real program, on the offscreen platform: with a collection folder it
// comes up and stays up; with a wrong one it says so and ends.
void TestFaultsInstalledFolder::desktopProgramTakesACollectionFolder()
{
    QFETCH(QStringList, args);
    QFETCH(bool, runs);
    QProcess program;
    program.start(Desktop, args);
    QVERIFY(program.waitForStarted());
    const bool ended = program.waitForFinished(runs ? 4000 : 30000);
    if (runs) {
        QVERIFY2(!ended, program.readAllStandardError().constData());
        program.kill();
        program.waitForFinished();
        return;
    }
    QVERIFY(ended);
    QCOMPARE(program.exitCode(), 64);
    QVERIFY(QString::fromUtf8(program.readAllStandardError()).contains(QStringLiteral("none")));
}

QTEST_MAIN(TestFaultsInstalledFolder)
#include "test_faults_installed_folder.moc"
