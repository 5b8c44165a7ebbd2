#include "conditionfile.h"
#include "conditiontext.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString lineSeparator(QChar(0x2028));
const QString paragraphSeparator(QChar(0x2029));
}

class TestEditorCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fileBytesToText_data();
    void fileBytesToText();
    void textToFileBytes_data();
    void textToFileBytes();
    void undecodableBytesAreRefused_data();
    void undecodableBytesAreRefused();
    void unencodableCharacterIsNamed_data();
    void unencodableCharacterIsNamed();
    void fullPath_data();
    void fullPath();
};

void TestEditorCore::fileBytesToText_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF lines") << "a\r\nb\r\n"_ba << u"a\nb\n"_s;
    QTest::newRow("no final line end stays without") << "a\r\nb"_ba << u"a\nb"_s;
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("only a line end") << "\r\n"_ba << u"\n"_s;
    QTest::newRow("lone CR ends a line") << "a\rb"_ba << u"a\nb"_s;
    QTest::newRow("CR CR LF is two line ends") << "a\r\r\nb"_ba << u"a\n\nb"_s;
    QTest::newRow("lone LF stays inside its line") << "a\nb\r\n"_ba << (u"a"_s + lineSeparator + u"b\n"_s);
    QTest::newRow("LF CR is an inner LF then a line end") << "a\n\rb"_ba << (u"a"_s + lineSeparator + u"\nb"_s);
    QTest::newRow("Big5 with trail byte 0x5C") << "\xb1\xf8\xa5\xf3\r\n\xb3\x5c"_ba << u"條件\n許"_s;
    // Characters with two codes load from either; a save writes the standard one.
    QTest::newRow("十 as A451 and as A2CC") << "\xa4\x51\xa2\xcc"_ba << u"十十"_s;
    QTest::newRow("box drawing A2A4, standard F9F9") << "\xa2\xa4"_ba << u"═"_s;
    QTest::newRow("box drawing F9FA, standard A27E") << "\xf9\xfa\r\n"_ba << u"╭\n"_s;
}

void TestEditorCore::fileBytesToText()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const Result<QString> decoded = ConditionText::fromFileBytes(bytes);
    QVERIFY2(decoded.ok(), qPrintable(decoded.failure().description));
    QCOMPARE(decoded.value(), text);
}

void TestEditorCore::textToFileBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("newline becomes CR LF, nothing appended") << u"a\nb"_s << "a\r\nb"_ba;
    QTest::newRow("final newline kept once") << u"a\nb\n"_s << "a\r\nb\r\n"_ba;
    QTest::newRow("empty text writes nothing") << QString() << QByteArray();
    QTest::newRow("block separator of the box") << (u"a"_s + paragraphSeparator + u"b"_s) << "a\r\nb"_ba;
    QTest::newRow("CR LF is one line end") << u"a\r\nb"_s << "a\r\nb"_ba;
    QTest::newRow("lone CR becomes CR LF") << u"a\rb"_s << "a\r\nb"_ba;
    QTest::newRow("line separator is a lone LF") << (u"a"_s + lineSeparator + u"b"_s) << "a\nb"_ba;
    QTest::newRow("Big5 text") << u"條件\n許"_s << "\xb1\xf8\xa5\xf3\r\n\xb3\x5c"_ba;
    QTest::newRow("character with two codes, standard code") << u"十═"_s << "\xa4\x51\xf9\xf9"_ba;
}

void TestEditorCore::textToFileBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    const Result<QByteArray> encoded = ConditionText::toFileBytes(text);
    QVERIFY2(encoded.ok(), qPrintable(encoded.failure().description));
    QCOMPARE(encoded.value(), bytes);
}

void TestEditorCore::undecodableBytesAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("where");
    QTest::newRow("lead byte cut off at the end") << "ab\r\n\xa4"_ba << u"第 2 行的位元組 A4（檔案第 5 位元組起）"_s;
    QTest::newRow("trail byte out of range") << "\xa4\x40\r\n\xa1\x20"_ba << u"第 2 行的位元組 A1 20"_s;
    QTest::newRow("lead byte before CR") << "x\xa4\r\n"_ba << u"第 1 行的位元組 A4 0D"_s;
    QTest::newRow("lone LF does not count as a line") << "a\nb\r\n\xc8\x80"_ba << u"第 2 行的位元組 C8 80"_s;
}

void TestEditorCore::undecodableBytesAreRefused()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, where);
    const Result<QString> decoded = ConditionText::fromFileBytes(bytes);
    QVERIFY(!decoded.ok());
    QCOMPARE(decoded.failure().number, FailureNumber::BadCharacter);
    QVERIFY2(decoded.failure().description.contains(where), qPrintable(decoded.failure().description));
}

void TestEditorCore::unencodableCharacterIsNamed_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");
    QTest::newRow("character outside Big5, second line")
        << u"條件\n甲乙𠀀"_s << u"第 2 行第 3 字 「𠀀」（U+20000）"_s;
    QTest::newRow("Latin letter after a lone LF, same line")
        << (u"a"_s + lineSeparator + u"bé"_s) << u"第 1 行第 4 字 「é」（U+00E9）"_s;
    QTest::newRow("invisible character by number only") << (u"x\r\ny"_s + QChar(0x00a0)) << u"第 2 行第 2 字 U+00A0"_s;
    QTest::newRow("lone surrogate") << (u"ab"_s + QChar(0xd800)) << u"第 1 行第 3 字 U+D800"_s;
}

void TestEditorCore::unencodableCharacterIsNamed()
{
    QFETCH(QString, text);
    QFETCH(QString, named);
    const Result<QByteArray> encoded = ConditionText::toFileBytes(text);
    QVERIFY(!encoded.ok());
    QCOMPARE(encoded.failure().number, FailureNumber::BadCharacter);
    QVERIFY2(encoded.failure().description.contains(named), qPrintable(encoded.failure().description));
}

void TestEditorCore::fullPath_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("folder without final separator") << u"/data/條件"_s << u"a.txt"_s << u"/data/條件/a.txt"_s;
    QTest::newRow("root folder, no doubled separator") << u"/"_s << u"a.txt"_s << u"/a.txt"_s;
    QTest::newRow("folder ending with separator") << u"/data/"_s << u"a.set"_s << u"/data/a.set"_s;
    QTest::newRow("no file selected") << u"/data"_s << QString() << u"/data/"_s;
}

void TestEditorCore::fullPath()
{
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QCOMPARE(ConditionFile::fullPath(folder, name), path);
}

QTEST_APPLESS_MAIN(TestEditorCore)
#include "test_editor_core.moc"
