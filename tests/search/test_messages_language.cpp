// The program's own messages in the reader's language: a database failure
// reads in Traditional Chinese under a Chinese (or any non-English) locale and
// in English under an English one; a message written in Chinese in the code
// reads in English too. tamvex-cli takes the language from its environment,
// for its own texts and for the reasons of the term index and of the Jet
// reader child.
#include "conditionfile.h"
#include "contentdatabase.h"
#include "databaselocation.h"
#include "translation.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

class TestMessagesLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void databaseFailureInTheReadersLanguage_data();
    void databaseFailureInTheReadersLanguage();
    void cliMessagesInTheReadersLanguage_data();
    void cliMessagesInTheReadersLanguage();
};

void TestMessagesLanguage::databaseFailureInTheReadersLanguage_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("report");
    QTest::addColumn<QString>("advice");
    QTest::addColumn<QString>("editor");
    QTest::newRow("Traditional Chinese") << QLocale(QLocale::Chinese, QLocale::Taiwan) << u"錯誤 -2147467259：找不到檔案「"_s
                                         << u"請將全文資料庫檔 jst.mdb 重新安裝到程式資料夾。"_s << u"沒有選擇檔案"_s;
    QTest::newRow("English") << QLocale(QLocale::English, QLocale::UnitedStates) << u"Error -2147467259: Could not find file '"_s
                             << u"Install the collection's database file jst.mdb in the program folder again."_s
                             << u"No file is selected"_s;
    QTest::newRow("British English") << QLocale(QLocale::English, QLocale::UnitedKingdom)
                                     << u"Error -2147467259: Could not find file '"_s << u"jst.mdb in the program folder"_s
                                     << u"No file is selected"_s;
    QTest::newRow("another language reads Chinese") << QLocale(QLocale::German, QLocale::Germany)
                                                    << u"錯誤 -2147467259：找不到檔案「"_s << u"重新安裝"_s << u"沒有選擇檔案"_s;
}

void TestMessagesLanguage::databaseFailureInTheReadersLanguage()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, report);
    QFETCH(QString, advice);
    QFETCH(QString, editor);
    QVERIFY(Translation::install(locale));
    QTemporaryDir empty; // no jst.mdb in it
    const auto rows = ContentDatabase::runStatement(DatabaseLocation::inFolder(empty.path()),
                                                    u"select subject, htm from maindata"_s);
    QVERIFY(!rows.ok());
    const QString shown = failureReport(rows.failure());
    QVERIFY2(shown.startsWith(report), qPrintable(shown));
    QVERIFY2(shown.contains(advice), qPrintable(shown));
    QVERIFY2(shown.contains(empty.path()), qPrintable(shown));

    const Status saved = ConditionFile::save(empty.path() + u"/"_s, u"x"_s);
    QVERIFY2(failureReport(saved.failure()).contains(editor), qPrintable(failureReport(saved.failure())));
}

namespace {

// What the case's program folder holds as jst.mdb.
enum class Collection { None, SqliteWithoutMaindata, JetWithoutMaindata };

bool makeCollection(const QString &folder, Collection collection)
{
    const QString database = folder + u"/jst.mdb"_s;
    switch (collection) {
    case Collection::None:
        return true;
    case Collection::SqliteWithoutMaindata: {
        sqlite3 *db = nullptr;
        const bool ok = sqlite3_open(QFile::encodeName(database).constData(), &db) == SQLITE_OK
            && sqlite3_exec(db, "CREATE TABLE other(x)", nullptr, nullptr, nullptr) == SQLITE_OK;
        sqlite3_close(db);
        return ok;
    }
    case Collection::JetWithoutMaindata:
        return QFile::copy(QStringLiteral(TAMVEX_FIXTURES_DIR "/jet/node-adodb.mdb"), database);
    }
    return false;
}
}

void TestMessagesLanguage::cliMessagesInTheReadersLanguage_data()
{
    QTest::addColumn<QStringList>("args"); // "DIR" stands for the case's program folder
    QTest::addColumn<int>("collection");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QStringList>("expected"); // each in the standard error
    const QStringList index{u"index"_s, u"--program-folder"_s, u"DIR"_s};
    const QStringList search{u"search"_s, u"--program-folder"_s, u"DIR"_s, u"x"_s};
    const int sqlite = int(Collection::SqliteWithoutMaindata), jet = int(Collection::JetWithoutMaindata);
    QTest::newRow("usage, Chinese") << QStringList{u"nonsense"_s} << int(Collection::None) << u"zh_TW.UTF-8"_s
                                    << QStringList{u"用法：tamvex-cli statement"_s, u"\n      tamvex-cli search"_s};
    QTest::newRow("usage, English") << QStringList{u"nonsense"_s} << int(Collection::None) << u"en_US.UTF-8"_s
                                    << QStringList{u"usage: tamvex-cli statement"_s, u"\n       tamvex-cli search"_s};
    QTest::newRow("index build, Chinese") << index << sqlite << u"zh_TW.UTF-8"_s
                                          << QStringList{u"無法為資料庫「"_s, u"」建立索引：沒有 maindata 資料表"_s};
    QTest::newRow("index build, English") << index << sqlite << u"en_US.UTF-8"_s
                                          << QStringList{u"Could not index the database '"_s, u"': no such table: maindata"_s};
    QTest::newRow("Jet reader, Chinese") << search << jet << u"zh_TW.UTF-8"_s
                                         << QStringList{u"無法讀取 Jet 資料庫「"_s, u"」：檔案中沒有 maindata 資料表。"_s};
    QTest::newRow("Jet reader, English") << search << jet << u"en_US.UTF-8"_s
                                         << QStringList{u"Could not read the Jet database '"_s, u"': the file holds no table maindata."_s};
}

void TestMessagesLanguage::cliMessagesInTheReadersLanguage()
{
    QFETCH(QStringList, args);
    QFETCH(int, collection);
    QFETCH(QString, locale);
    QFETCH(QStringList, expected);
    QTemporaryDir folder;
    QVERIFY(makeCollection(folder.path(), Collection(collection)));
    args.replaceInStrings(u"DIR"_s, folder.path());
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, locale);
    cli.setProcessEnvironment(env);
    cli.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), args);
    QVERIFY(cli.waitForFinished(60000));
    QVERIFY(cli.exitCode() != 0);
    const QString said = QString::fromUtf8(cli.readAllStandardError());
    for (const QString &part : expected)
        QVERIFY2(said.contains(part), qPrintable(said));
}

QTEST_GUILESS_MAIN(TestMessagesLanguage)
#include "test_messages_language.moc"
