// The program's own messages in the reader's language: a database failure
// reads in Traditional Chinese under a Chinese (or any non-English) locale and
// in English under an English one; a message written in Chinese in the code
// reads in English too.
#include "conditionfile.h"
#include "contentdatabase.h"
#include "databaselocation.h"
#include "translation.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestMessagesLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void databaseFailureInTheReadersLanguage_data();
    void databaseFailureInTheReadersLanguage();
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

QTEST_GUILESS_MAIN(TestMessagesLanguage)
#include "test_messages_language.moc"
