// Decoding of raw Jet text values: the forms the fixture files do not hold.
#include "jettext.h"

#include <QTest>

namespace {
QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

QString jet4(const QByteArray &raw, bool *clean = nullptr)
{
    std::string out;
    const bool ok = JetText::appendJet4(reinterpret_cast<const unsigned char *>(raw.constData()), std::size_t(raw.size()), out);
    if (clean)
        *clean = ok;
    return QString::fromUtf8(out.data(), qsizetype(out.size()));
}
}

class TestJetText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void jet4Text_data();
    void jet4Text();
    void codePageText_data();
    void codePageText();
    void unknownCodePageHasNoDecoder();
};

void TestJetText::jet4Text_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("clean");
    QTest::newRow("plain UTF-16LE") << bytes({0x41, 0x00, 0x2D, 0x4E}) << u"A中"_qs << true;
    QTest::newRow("empty") << QByteArray() << QString() << true;
    QTest::newRow("compressed, empty") << bytes({0xFF, 0xFE}) << QString() << true;
    QTest::newRow("compressed, one-byte only") << bytes({0xFF, 0xFE, 'i', 't', '\'', 's'}) << u"it's"_qs << true;
    QTest::newRow("compressed, toggles both ways")
        << bytes({0xFF, 0xFE, 'a', 0x00, 0x7F, 0x89, 0x00, 'b'}) << u"a西b"_qs << true;
    QTest::newRow("compressed, starts two-byte") << bytes({0xFF, 0xFE, 0x00, 0x7F, 0x89}) << u"西"_qs << true;
    QTest::newRow("surrogate pair outside the BMP") << bytes({0x40, 0xD8, 0x00, 0xDC, 0x41, 0x00})
                                                     << QString::fromUcs4(U"\U00020000A") << true;
    QTest::newRow("compressed, surrogate pair")
        << bytes({0xFF, 0xFE, 0x00, 0x40, 0xD8, 0x01, 0xDC}) << QString::fromUcs4(U"\U00020001") << true;
    QTest::newRow("lone high surrogate") << bytes({0x40, 0xD8, 0x41, 0x00}) << u"\uFFFDA"_qs << false;
    QTest::newRow("lone low surrogate at end") << bytes({0x41, 0x00, 0x00, 0xDC}) << u"A\uFFFD"_qs << false;
    QTest::newRow("odd trailing byte") << bytes({0x41, 0x00, 0x42}) << u"A\uFFFD"_qs << false;
    QTest::newRow("compressed, half a unit at end") << bytes({0xFF, 0xFE, 'a', 0x00, 0x7F}) << u"a\uFFFD"_qs << false;
}

void TestJetText::jet4Text()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QFETCH(bool, clean);
    bool wasClean = !clean;
    QCOMPARE(jet4(raw, &wasClean), text);
    QCOMPARE(wasClean, clean);
}

void TestJetText::codePageText_data()
{
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("clean");
    // 傷寒 in Big5, then ASCII.
    QTest::newRow("Big5 (950)") << 950 << bytes({0xB6, 0xCB, 0xB4, 0x48, 'a'}) << u"傷寒a"_qs << true;
    QTest::newRow("Big5 lead byte cut off") << 950 << bytes({'a', 0xB6}) << u"a\uFFFD"_qs << false;
    QTest::newRow("Big5 pair, then a cut lead byte") << 950 << bytes({0xB6, 0xCB, 0xB4}) << u"傷\uFFFD"_qs << false;
    QTest::newRow("Big5 line feed kept") << 950 << bytes({0xB6, 0xCB, '\n'}) << u"傷\n"_qs << true;
    QTest::newRow("no code page: Western") << 0 << bytes({0xE9, 0x80}) << u"é€"_qs << true;
    QTest::newRow("GBK (936)") << 936 << bytes({0xC9, 0xCB}) << u"伤"_qs << true;
}

void TestJetText::codePageText()
{
    QFETCH(int, codePage);
    QFETCH(QByteArray, raw);
    QFETCH(QString, text);
    QFETCH(bool, clean);
    const QByteArray name = JetText::decoderNameForCodePage(codePage);
    QVERIFY(!name.isEmpty());
    QStringDecoder decoder(name.constData(), QStringDecoder::Flag::Stateless);
    std::string out;
    const auto *data = reinterpret_cast<const unsigned char *>(raw.constData());
    QCOMPARE(JetText::appendCodePage(decoder, data, std::size_t(raw.size()), out), clean);
    QCOMPARE(QString::fromUtf8(out.data(), qsizetype(out.size())), text);
    // Nothing of one value carries over into the next.
    out.clear();
    QVERIFY(JetText::appendCodePage(decoder, reinterpret_cast<const unsigned char *>("b"), 1, out));
    QCOMPARE(QString::fromUtf8(out.data(), qsizetype(out.size())), u"b"_qs);
}

void TestJetText::unknownCodePageHasNoDecoder()
{
    QVERIFY(JetText::decoderNameForCodePage(4711).isEmpty());
}

QTEST_GUILESS_MAIN(TestJetText)
#include "test_jettext.moc"
