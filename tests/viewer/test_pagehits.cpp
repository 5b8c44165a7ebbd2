// The marks the page marker reports and the page's hits made from them.
#include "big5testing.h"
#include "pagehits.h"
#include "pagemarker.h"
#include "translation.h"
#include "variantmarking.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestPageHits : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reportsEveryMark_data();
    void reportsEveryMark();
    void reportsVariantMarksForTheQueryTerm();
    void stepsAndWraps();
    void countTexts_data();
    void countTexts();
    void findsTheHitOfAnOccurrence_data();
    void findsTheHitOfAnOccurrence();
    void countTextsInTheReadersLanguage();
};

namespace {
// A mark as "term/o|n/nested/ordinal/text": o outermost, n nested.
QString describe(const PageMark &m)
{
    return u"%1/%2/%3/%4/%5"_s.arg(m.term).arg(m.outermost ? u"o"_s : u"n"_s).arg(m.nested).arg(m.fontOrdinal).arg(m.text);
}

QStringList describeAll(const QList<PageMark> &marks)
{
    QStringList out;
    for (const PageMark &m : marks)
        out.append(describe(m));
    return out;
}

QList<PageMark> marksOf(const QString &page, const QStringList &terms)
{
    QList<PageMark> marks;
    markPage(big5(page), terms, &marks);
    return marks;
}
}

void TestPageHits::reportsEveryMark_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QStringList>("marks");
    QTest::newRow("two terms in page order") << u"<p>發熱而頭痛，頭痛甚</p>"_s << QStringList{u"發熱"_s, u"頭痛"_s}
                                           << QStringList{u"0/o/0/0/發熱"_s, u"1/o/0/1/頭痛"_s, u"1/o/0/2/頭痛"_s};
    QTest::newRow("later term inside an earlier mark")
        << u"而頭痛，"_s << QStringList{u"頭痛"_s, u"頭"_s} << QStringList{u"0/o/1/0/頭痛"_s, u"1/n/0/1/頭"_s};
    QTest::newRow("later term at the end of an earlier mark")
        << u"頭痛"_s << QStringList{u"頭痛"_s, u"痛"_s} << QStringList{u"0/o/1/0/頭痛"_s, u"1/n/0/1/痛"_s};
    QTest::newRow("term given twice: the first holds the second")
        << u"發熱"_s << QStringList{u"發熱"_s, u"發熱"_s} << QStringList{u"0/o/1/0/發熱"_s, u"1/n/0/1/發熱"_s};
    QTest::newRow("the page's own red text and fonts count in the ordinal")
        << u"<font color=red>發熱</font><FONT size=2>x</FONT>發熱<fontx>發熱"_s << QStringList{u"發熱"_s}
        << QStringList{u"0/o/0/1/發熱"_s, u"0/o/0/3/發熱"_s, u"0/o/0/4/發熱"_s};
    QTest::newRow("font in a comment or a script is no tag")
        << u"<!-- <font> --><script><font></script>發熱"_s << QStringList{u"發熱"_s} << QStringList{u"0/o/0/0/發熱"_s};
    QTest::newRow("empty and absent terms") << u"發熱"_s << QStringList{u""_s, u"頭痛"_s, u"熱"_s}
                                          << QStringList{u"2/o/0/0/熱"_s};
    QTest::newRow("no terms") << u"發熱"_s << QStringList{} << QStringList{};
}

void TestPageHits::reportsEveryMark()
{
    QFETCH(QString, page);
    QFETCH(QStringList, terms);
    QFETCH(QStringList, marks);
    QList<PageMark> reported;
    const QByteArray bytes = big5(page);
    // Reporting does not change a byte of the written page.
    QCOMPARE(markPage(bytes, terms, &reported), markPage(bytes, terms));
    QCOMPARE(describeAll(reported), marks);
}

void TestPageHits::reportsVariantMarksForTheQueryTerm()
{
    // A table of one group: 黃 and 黄 stand for each other.
    const VariantTable table = VariantTable::fromTexts({u"黃黄\n"_s});
    const QStringList terms{u"黄耆"_s};
    QList<PageMark> marks;
    const QByteArray page = big5(u"黃耆三兩，黃耆"_s);
    QCOMPARE(markPageVariants(page, terms, table, &marks), markPageVariants(page, terms, table));
    QCOMPARE(describeAll(marks), (QStringList{u"0/o/0/0/黃耆"_s, u"0/o/0/1/黃耆"_s}));
    PageHits hits;
    hits.reset(marks, terms);
    QCOMPARE(hits.termCountsText(), u"黄耆 2"_s); // counted for the query's term
}

void TestPageHits::stepsAndWraps()
{
    PageHits hits;
    const QStringList terms{u"頭痛"_s, u"頭"_s};
    hits.reset(marksOf(u"頭痛頭頭痛"_s, terms), terms);
    QCOMPARE(hits.count(), 3); // the nested 頭 inside each 頭痛 is part of its hit
    QCOMPARE(hits.current(), -1);
    QList<int> forward;
    for (int i = 0; i < 4; ++i)
        forward.append(hits.next());
    QCOMPARE(forward, (QList<int>{0, 1, 2, 0}));
    QCOMPARE(hits.previous(), 2);
    QCOMPARE(hits.previous(), 1);
    hits.setCurrent(7);
    QCOMPARE(hits.current(), 1);
    hits.reset(marksOf(u"頭痛"_s, terms), terms);
    QCOMPARE(hits.previous(), 0); // the first step back from the top: the last hit
    hits.reset({}, terms);
    QCOMPARE(hits.next(), -1);
    QCOMPARE(hits.previous(), -1);
}

void TestPageHits::countTexts_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<int>("steps");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("perTerm");
    const QStringList two{u"發熱"_s, u"頭痛"_s};
    QTest::newRow("before the first F3") << u"發熱而頭痛，頭痛甚"_s << two << 0 << u"共 3 處"_s << u"發熱 1 · 頭痛 2"_s;
    QTest::newRow("after two") << u"發熱而頭痛，頭痛甚"_s << two << 2 << u"第 2／3 處"_s << u"發熱 1 · 頭痛 2"_s;
    QTest::newRow("a term the page lacks reads 0") << u"發熱"_s << two << 1 << u"第 1／1 處"_s << u"發熱 1 · 頭痛 0"_s;
    QTest::newRow("nested marks count for the outer term")
        << u"頭痛頭"_s << QStringList{u"頭痛"_s, u"頭"_s} << 0 << u"共 2 處"_s << u"頭痛 1 · 頭 1"_s;
    QTest::newRow("a term given twice is one term")
        << u"發熱"_s << QStringList{u"發熱"_s, u""_s, u"發熱"_s} << 0 << u"共 1 處"_s << u"發熱 1"_s;
    QTest::newRow("no hit: nothing") << u"惡寒"_s << two << 1 << QString() << QString();
}

void TestPageHits::countTexts()
{
    QFETCH(QString, page);
    QFETCH(QStringList, terms);
    QFETCH(int, steps);
    PageHits hits;
    hits.reset(marksOf(page, terms), terms);
    for (int i = 0; i < steps; ++i)
        hits.next();
    QTEST(hits.countText(), "count");
    QTEST(hits.termCountsText(), "perTerm");
}

void TestPageHits::findsTheHitOfAnOccurrence_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("sameHit");
    QTest::addColumn<int>("hit");
    // Hits: 0 桂枝湯 (holds 桂枝), 1 桂枝, 2 麻黃, 3 桂枝.
    QTest::newRow("first of its text, inside a longer term's hit") << u"桂枝"_s << 0 << 0;
    QTest::newRow("third of its text") << u"桂枝"_s << 2 << 3;
    QTest::newRow("another term") << u"麻黃"_s << 0 << 2;
    QTest::newRow("fewer marks of that text: the last") << u"麻黃"_s << 5 << 2;
    QTest::newRow("no mark of that text") << u"芍藥"_s << 0 << -1;
}

void TestPageHits::findsTheHitOfAnOccurrence()
{
    QFETCH(QString, text);
    QFETCH(int, sameHit);
    const QStringList terms{u"桂枝湯"_s, u"桂枝"_s, u"麻黃"_s};
    PageHits hits;
    hits.reset(marksOf(u"桂枝湯，桂枝、麻黃、桂枝"_s, terms), terms);
    QTEST(hits.hitOfOccurrence(text, sameHit), "hit");
}

void TestPageHits::countTextsInTheReadersLanguage()
{
    const QStringList terms{u"發熱"_s};
    PageHits hits;
    hits.reset(marksOf(u"發熱，發熱"_s, terms), terms);
    QVERIFY(Translation::install(QLocale(QLocale::English, QLocale::UnitedStates)));
    QCOMPARE(hits.countText(), u"hits: 2"_s);
    hits.next();
    QCOMPARE(hits.countText(), u"hit 1 of 2"_s);
    QVERIFY(Translation::install(QLocale(QLocale::Chinese, QLocale::Taiwan)));
    QCOMPARE(hits.countText(), u"第 1／2 處"_s);
}

QTEST_GUILESS_MAIN(TestPageHits)
#include "test_pagehits.moc"
