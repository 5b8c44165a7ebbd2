// The page marker: which occurrences get marked, how marks nest, where marks
// may never go (markup), and that the page's own bytes come through untouched.

#include "big5table.h"
#include "big5testing.h"
#include "pagemarker.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPageMarker : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void marks_data();
    void marks();
    void splitsBig5Characters_data();
    void splitsBig5Characters();
    void decodesEachCodeOnce();
    void keepsDoublyCodedCharacterBytes();
    void termNeverMatchesAcrossCharacterBoundary();
    void termsBeyondSixteenBitCountAreApplied();
};

// A page and its expected marking, both written as Unicode and compared as
// code page 950 bytes.
static void addCase(const char *name, const QString &page, const QStringList &terms, const QString &expected)
{
    QTest::newRow(name) << big5(page) << terms << big5(expected);
}

void TestPageMarker::marks_data()
{
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QByteArray>("expected");

    const QString worked = u"<p>發熱而頭痛，頭痛甚</p>"_s;
    addCase("worked example", worked, { u"發熱"_s, u"頭痛"_s },
            u"<p><font color=red>發熱</font>而<font color=red>頭痛</font>，<font color=red>頭痛</font>甚</p>"_s);
    addCase("term inside an earlier term is marked again inside it", worked, { u"頭痛"_s, u"頭"_s },
            u"<p>發熱而<font color=red><font color=red>頭</font>痛</font>，"
            u"<font color=red><font color=red>頭</font>痛</font>甚</p>"_s);
    addCase("no terms leave the page as it is", worked, {}, worked);
    addCase("empty terms change nothing", worked, { u"發熱"_s, QString(), u"頭痛"_s, QString() },
            u"<p><font color=red>發熱</font>而<font color=red>頭痛</font>，<font color=red>頭痛</font>甚</p>"_s);
    addCase("a term given twice is wrapped twice", u"頭痛甚"_s, { u"頭痛"_s, u"頭痛"_s },
            u"<font color=red><font color=red>頭痛</font></font>甚"_s);
    addCase("later term at the start of an earlier occurrence", u"發熱"_s, { u"發熱"_s, u"發"_s },
            u"<font color=red><font color=red>發</font>熱</font>"_s);
    addCase("later term at the end of an earlier occurrence", u"發熱"_s, { u"發熱"_s, u"熱"_s },
            u"<font color=red>發<font color=red>熱</font></font>"_s);
    addCase("a match never spans an inserted mark", u"發熱頭"_s, { u"發熱"_s, u"熱頭"_s },
            u"<font color=red>發熱</font>頭"_s);
    addCase("adjacent occurrences", u"頭痛頭痛"_s, { u"頭痛"_s },
            u"<font color=red>頭痛</font><font color=red>頭痛</font>"_s);
    addCase("occurrences do not overlap", u"aaa"_s, { u"aa"_s }, u"<font color=red>aa</font>a"_s);
    addCase("comparison is case-sensitive", u"abc ABC"_s, { u"ABC"_s }, u"abc <font color=red>ABC</font>"_s);

    addCase("mark-up words leave the marks intact", u"<p>發熱</p>"_s,
            { u"發熱"_s, u"font"_s, u"red"_s, u"color"_s, u"="_s, u"/"_s, u"body"_s, u"p"_s },
            u"<p><font color=red>發熱</font></p>"_s);
    addCase("a term marked before the marks exist", u"<p>red 發熱</p>"_s, { u"red"_s, u"發熱"_s },
            u"<p><font color=red>red</font> <font color=red>發熱</font></p>"_s);
    addCase("tag names and attributes are not text", u"<body title=\"發熱\" class=body>body 發熱</body>"_s,
            { u"body"_s, u"發熱"_s },
            u"<body title=\"發熱\" class=body><font color=red>body</font> <font color=red>發熱</font></body>"_s);
    addCase("unquoted attribute value", u"<img alt=發熱>發熱"_s, { u"發熱"_s }, u"<img alt=發熱><font color=red>發熱</font>"_s);
    addCase("'>' inside a quoted attribute", u"<a title='a>發熱'>發熱</a>"_s, { u"發熱"_s },
            u"<a title='a>發熱'><font color=red>發熱</font></a>"_s);
    addCase("comment", u"<!-- 發熱 -- 發熱 -->發熱"_s, { u"發熱"_s }, u"<!-- 發熱 -- 發熱 --><font color=red>發熱</font>"_s);
    addCase("empty comment ends at once", u"<!-->發熱"_s, { u"發熱"_s }, u"<!--><font color=red>發熱</font>"_s);
    addCase("unclosed comment runs to the end", u"發熱<!-- 發熱"_s, { u"發熱"_s }, u"<font color=red>發熱</font><!-- 發熱"_s);
    addCase("doctype", u"<!DOCTYPE html>html"_s, { u"html"_s }, u"<!DOCTYPE html><font color=red>html</font>"_s);
    addCase("script content", u"<SCRIPT type=\"text/javascript\">var a = \"發熱\"; if (a<b) x();</Script>發熱"_s,
            { u"發熱"_s, u"a"_s }, u"<SCRIPT type=\"text/javascript\">var a = \"發熱\"; if (a<b) x();</Script><font color=red>發熱</font>"_s);
    addCase("style content", u"<style>p.發熱 { color: red }</style><p>red</p>"_s, { u"red"_s, u"發熱"_s },
            u"<style>p.發熱 { color: red }</style><p><font color=red>red</font></p>"_s);
    addCase("title content", u"<title>發熱</title><h1>發熱</h1>"_s, { u"發熱"_s },
            u"<title>發熱</title><h1><font color=red>發熱</font></h1>"_s);
    addCase("an element name that only begins like script", u"<scripture>發熱</scripture>"_s, { u"發熱"_s },
            u"<scripture><font color=red>發熱</font></scripture>"_s);
    addCase("a match never spans a tag", u"發<b>熱</b>"_s, { u"發熱"_s }, u"發<b>熱</b>"_s);

    addCase("numeric references are not decoded", u"&#x4E00;&#19968;一"_s, { u"一"_s },
            u"&#x4E00;&#19968;<font color=red>一</font>"_s);
    addCase("no mark inside a reference", u"&amp;amp &#x4E00;4E00 &nbsp"_s, { u"amp"_s, u"4E00"_s, u"nbsp"_s, u"#"_s },
            u"&amp;<font color=red>amp</font> &#x4E00;<font color=red>4E00</font> &nbsp"_s);
    addCase("a match never spans a reference", u"發&amp;熱"_s, { u"發&熱"_s, u"&"_s }, u"發&amp;熱"_s);
    addCase("a lone ampersand is text", u"R & D"_s, { u"&"_s }, u"R <font color=red>&</font> D"_s);
    addCase("a lone '<' is text", u"1 < 2 發熱 > 0"_s, { u"<"_s, u"發熱"_s },
            u"1 <font color=red><</font> 2 <font color=red>發熱</font> > 0"_s);
    addCase("'<' at the page end", u"發熱<"_s, { u"發熱"_s }, u"<font color=red>發熱</font><"_s);
    addCase("whitespace other than blanks belongs to the term", u"發熱\t頭痛"_s, { u"發熱\t頭痛"_s },
            u"<font color=red>發熱\t頭痛</font>"_s);
    addCase("a term beyond the code page matches nothing", u"發熱"_s, { u"\U00020000"_s, u"\uFFFD"_s }, u"發熱"_s);

    QTest::newRow("NUL bytes are kept") << QByteArray("a\0b\0a", 5) << QStringList { u"a"_s }
                                        << QByteArray("<font color=red>a</font>\0b\0<font color=red>a</font>", 51);
    QTest::newRow("a lone lead byte is a character of its own")
        << QByteArray("\xA4" "1") << QStringList { u"1"_s } << QByteArray("\xA4<font color=red>1</font>");
    QTest::newRow("an unmapped pair matches not even U+FFFD")
        << QByteArray("\xA3\xC0" "x") << QStringList { u"\uFFFD"_s, u"x"_s }
        << QByteArray("\xA3\xC0<font color=red>x</font>");
}

void TestPageMarker::marks()
{
    QFETCH(QByteArray, page);
    QFETCH(QStringList, terms);
    QFETCH(QByteArray, expected);
    const QByteArray marked = markPage(page, terms);
    QCOMPARE(fromBig5(marked), fromBig5(expected)); // readable on failure
    QCOMPARE(marked, expected);
}

void TestPageMarker::splitsBig5Characters_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<qsizetype>>("starts");

    QTest::newRow("ASCII") << QByteArray("ab") << QList<qsizetype> { 0, 1 };
    QTest::newRow("lead and high trail") << QByteArray("\xA4\xA4" "a") << QList<qsizetype> { 0, 2 };
    QTest::newRow("lead and ASCII-range trail") << QByteArray("\xB3\x5C\xA4\x40") << QList<qsizetype> { 0, 2 };
    QTest::newRow("lead before a non-trail") << QByteArray("\xA4\x7F\xA4\xA0") << QList<qsizetype> { 0, 1, 2, 3 };
    QTest::newRow("lead at the end") << QByteArray("a\xA4") << QList<qsizetype> { 0, 1 };
    QTest::newRow("0x80 and 0xFF are single") << QByteArray("\x80\x40\xFF\x40") << QList<qsizetype> { 0, 1, 2, 3 };
}

void TestPageMarker::splitsBig5Characters()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QList<qsizetype>, starts);
    const std::vector<qsizetype> actual = Big5Table::characterStarts(bytes);
    QCOMPARE(QList<qsizetype>(actual.begin(), actual.end()), starts);
}

void TestPageMarker::decodesEachCodeOnce()
{
    const Big5Table &table = Big5Table::instance();
    QCOMPARE(table.pair(0xA4, 0xA4), u'中');
    QCOMPARE(table.pair(0xB3, 0x5C), u'許');
    QCOMPARE(table.single('A'), u'A');
    QCOMPARE(table.pair(0xA3, 0xC0), Big5Table::Unmapped);
    QCOMPARE(table.decode(QByteArray("\xA4\xA4" "a\xA4")), (std::u16string { u'中', u'a', Big5Table::Unmapped }));
}

void TestPageMarker::keepsDoublyCodedCharacterBytes()
{
    // 十 has two Big5 codes, A2CC and A451; encoding it again would give A451.
    const QByteArray page("\xA2\xCC\xA4\x51");
    QCOMPARE(fromBig5(page), u"十十"_s);
    QCOMPARE(markPage(page, { u"十"_s }),
             QByteArray("<font color=red>\xA2\xCC</font><font color=red>\xA4\x51</font>"));
}

void TestPageMarker::termNeverMatchesAcrossCharacterBoundary()
{
    // 文中 is A4E5 A4A4; its middle bytes E5A4 are a character of their own.
    const QByteArray page = big5(u"文中"_s);
    const QString straddling = fromBig5(page.mid(1, 2));
    QCOMPARE(straddling.size(), 1);
    QCOMPARE(markPage(page, { straddling }), page);
    // 許 is B35C: its trail byte is the code of "\" but no backslash is there.
    const QByteArray xu = big5(u"許功蓋"_s);
    QCOMPARE(markPage(xu, { u"\\"_s, u"@"_s, u"\\\\"_s }), xu);
}

void TestPageMarker::termsBeyondSixteenBitCountAreApplied()
{
    QStringList terms;
    for (int i = 0; i < 40000; ++i)
        terms.append(QString());
    terms.append(u"發熱"_s);
    QCOMPARE(markPage(big5(u"發熱"_s), terms), big5(u"<font color=red>發熱</font>"_s));
}

QTEST_APPLESS_MAIN(TestPageMarker)
#include "test_pagemarker.moc"
