#include "filetests.h"
#include "modtamvex.h"
#include "programfolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestAppCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programFolderIsTheExecutablesFolder();
    void overrideTakesPlaceOfExecutableFolder();
    void pathsArePlainConcatenation_data();
    void pathsArePlainConcatenation();
    void recordPagesTurnBackslashesIntoSeparators_data();
    void recordPagesTurnBackslashesIntoSeparators();
    void connectionStringCarriesFolderUnchanged_data();
    void connectionStringCarriesFolderUnchanged();
    void existenceTestAcceptsOnlyOrdinaryFiles();
};

void TestAppCore::programFolderIsTheExecutablesFolder()
{
    setProgramFolderOverride(QString());
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
}

void TestAppCore::overrideTakesPlaceOfExecutableFolder()
{
    setProgramFolderOverride(QStringLiteral("/some/where"));
    QCOMPARE(ProgramFolder(), QStringLiteral("/some/where"));
    setProgramFolderOverride(QString());
    QCOMPARE(ProgramFolder(), QCoreApplication::applicationDirPath());
}

void TestAppCore::pathsArePlainConcatenation_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << u"/opt/tamvex"_qs << u"/jst.mdb"_qs << u"/opt/tamvex/jst.mdb"_qs;
    QTest::newRow("root doubles the separator") << u"/"_qs << u"/Help.htm"_qs << u"//Help.htm"_qs;
    QTest::newRow("blanks and Chinese kept") << u"/home/醫 書"_qs << u"/tmp/"_qs << u"/home/醫 書/tmp/"_qs;
}

void TestAppCore::pathsArePlainConcatenation()
{
    QFETCH(QString, folder);
    QFETCH(QString, tail);
    QFETCH(QString, expected);
    QCOMPARE(joinTail(folder, tail), expected);
}

void TestAppCore::recordPagesTurnBackslashesIntoSeparators_data()
{
    QTest::addColumn<QString>("htm");
    QTest::addColumn<QString>("expected");
    QTest::newRow("bare name") << u"p001.htm"_qs << u"/c/p001.htm"_qs;
    QTest::newRow("windows sub-folders") << u"books\\b01\\p003.htm"_qs << u"/c/books/b01/p003.htm"_qs;
    QTest::newRow("empty path names the folder") << QString() << u"/c/"_qs;
}

void TestAppCore::recordPagesTurnBackslashesIntoSeparators()
{
    QFETCH(QString, htm);
    QFETCH(QString, expected);
    QCOMPARE(recordPagePath(u"/c"_qs, htm), expected);
}

void TestAppCore::connectionStringCarriesFolderUnchanged_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << u"/opt/tamvex"_qs;
    QTest::newRow("blank and Chinese") << u"/home/我的 書"_qs;
    QTest::newRow("semicolon in folder") << u"/data/a;b"_qs;
}

void TestAppCore::connectionStringCarriesFolderUnchanged()
{
    QFETCH(QString, folder);
    const QString cs = modTamvex::makeConnectionString(folder);
    QCOMPARE(cs, u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source="_qs + folder + u"/jst.mdb;Persist Security Info=False"_qs);
    QCOMPARE(modTamvex::dataSourceOf(cs), folder + u"/jst.mdb"_qs);
}

void TestAppCore::existenceTestAcceptsOnlyOrdinaryFiles()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString base = dir.path();
    QVERIFY(QDir(base).mkdir(u"EditMod"_qs));
    QFile empty(base + u"/index.jpg"_qs);
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QFile hidden(base + u"/.hidden"_qs);
    QVERIFY(hidden.open(QIODevice::WriteOnly));
    hidden.close();
    QFile readOnly(base + u"/ro.txt"_qs);
    QVERIFY(readOnly.open(QIODevice::WriteOnly));
    readOnly.write("x");
    readOnly.close();
    readOnly.setPermissions(QFile::ReadOwner);

    QVERIFY(!isOrdinaryFile(base + u"/EditMod"_qs));
    QVERIFY(isOrdinaryFile(base + u"/index.jpg"_qs));
    QVERIFY(!isOrdinaryFile(base + u"/.hidden"_qs));
    QVERIFY(isOrdinaryFile(base + u"/ro.txt"_qs));
    QVERIFY(!isOrdinaryFile(base + u"/missing"_qs));
    QVERIFY(!isOrdinaryFile(QString()));
    QVERIFY(isFolder(base + u"/EditMod"_qs));
    QVERIFY(!isFolder(base + u"/index.jpg"_qs));
}

QTEST_GUILESS_MAIN(TestAppCore)
#include "test_app_core.moc"
