#include "casefolding.h"
#include "characterset.h"
#include "likepattern.h"
#include "substringfinder.h"

#include <QRandomGenerator>
#include <QTest>

#include <string>

class TestLikePattern : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void matchesByTheEngineRules_data();
    void matchesByTheEngineRules();
    void unreadablePatternsFail_data();
    void unreadablePatternsFail();
    void plainSubstringPatternsUseByteSearch_data();
    void plainSubstringPatternsUseByteSearch();
    void finderAgreesWithStdFindOnRandomText();
    void caseBlindFinderAgreesWithFoldedFind();
    void setLookupAgreesWithRangeRule();
};

void TestLikePattern::matchesByTheEngineRules_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("expected");
    QTest::newRow("cjk substring") << u"%發熱%"_qs << u"病人發熱而頭痛"_qs << true;
    QTest::newRow("cjk absent") << u"%發熱%"_qs << u"頭痛"_qs << false;
    QTest::newRow("empty term matches empty text") << u"%%"_qs << QString() << true;
    QTest::newRow("percent alone") << u"%"_qs << u"x"_qs << true;
    QTest::newRow("case ignored ascii") << u"%abc%"_qs << u"xxABCxx"_qs << true;
    QTest::newRow("case ignored greek") << u"%σ%"_qs << u"ΣΑ"_qs << true;
    QTest::newRow("final sigma folds") << u"%ς%"_qs << u"Σ"_qs << true;
    QTest::newRow("kelvin sign folds to k") << u"%k%"_qs << u"\u212A"_qs << true;
    QTest::newRow("kelvin sign inside a latin term") << u"%kt%"_qs << u"x\u212At"_qs << true;
    QTest::newRow("long s folds to s") << u"%St%"_qs << u"\u017Ft"_qs << true;
    QTest::newRow("second piece only through the kelvin sign") << u"%a%k%"_qs << u"AK\u212A"_qs << true;
    QTest::newRow("latin term absent beside the kelvin sign") << u"%kt%"_qs << u"\u212Ax"_qs << false;
    QTest::newRow("case blind letters keep other bytes exact") << u"%a@%"_qs << u"A`"_qs << false;
    QTest::newRow("full-width stays apart from ascii") << u"%Ａ%"_qs << u"A"_qs << false;
    QTest::newRow("underscore is one character") << u"%發_痛%"_qs << u"發頭痛"_qs << true;
    QTest::newRow("underscore needs a character") << u"%發_痛%"_qs << u"發痛"_qs << false;
    QTest::newRow("underscore takes a surrogate pair") << u"%a_b%"_qs << u"a\U00020000b"_qs << true;
    QTest::newRow("set") << u"%[甲乙]%"_qs << u"丙乙"_qs << true;
    QTest::newRow("set miss") << u"%[甲乙]%"_qs << u"丙丁"_qs << false;
    QTest::newRow("range") << u"%[a-c]1%"_qs << u"xb1"_qs << true;
    QTest::newRow("range ignores case") << u"%[a-c]1%"_qs << u"xB1"_qs << true;
    QTest::newRow("complement") << u"%[!a-c]1%"_qs << u"b1"_qs << false;
    QTest::newRow("complement hit") << u"%[!a-c]1%"_qs << u"d1"_qs << true;
    QTest::newRow("bracket literal through set") << u"%[[]x]%"_qs << u"a[x]"_qs << true;
    QTest::newRow("closing bracket alone is literal") << u"%x]%"_qs << u"x]"_qs << true;
    QTest::newRow("star and question mark literal") << u"%*?%"_qs << u"a*?"_qs << true;
    QTest::newRow("star not a wildcard") << u"%a*%"_qs << u"ab"_qs << false;
    QTest::newRow("inner percent") << u"%發%痛%"_qs << u"發熱頭痛"_qs << true;
    QTest::newRow("inner percent order") << u"%痛%發%"_qs << u"發熱頭痛"_qs << false;
    QTest::newRow("anchored both ends") << u"abc"_qs << u"ABC"_qs << true;
    QTest::newRow("anchored start fails") << u"bc%"_qs << u"abc"_qs << false;
    QTest::newRow("anchored end") << u"%bc"_qs << u"abc"_qs << true;
    QTest::newRow("apostrophe literal") << u"%it's%"_qs << u"it's here"_qs << true;
    QTest::newRow("ext-b character") << u"%\U00020000%"_qs << u"一\U00020000二"_qs << true;
    QTest::newRow("set beyond the mapped planes") << u"%[\U00031350-\U00031360]%"_qs << u"a\U00031355"_qs << true;
    QTest::newRow("set beyond, miss") << u"%[\U00031350-\U00031360]%"_qs << u"a\U00031361"_qs << false;
    QTest::newRow("whole blocks of a long range") << u"%[\u4000-\u9FFF]%"_qs << u"ab\u6000"_qs << true;
    QTest::newRow("long set of a pasted note") << u"%[按此方出自傷寒論卷第三太陽病脈證并治中]%"_qs << u"xx論"_qs << true;
    QTest::newRow("run of _ before a term") << u"%____發熱%"_qs << u"甲乙丙丁發熱"_qs << true;
    QTest::newRow("run of _ longer than the text before") << u"%_____發熱%"_qs << u"甲乙丙丁發熱"_qs << false;
    QTest::newRow("_ run between literals") << u"%發__熱%"_qs << u"x發甲乙熱"_qs << true;
    QTest::newRow("empty set matches nothing extra") << u"%a[]b%"_qs << u"ab"_qs << true;
}

void TestLikePattern::matchesByTheEngineRules()
{
    QFETCH(QString, pattern);
    QFETCH(QString, value);
    QFETCH(bool, expected);
    auto compiled = LikePattern::compile(pattern);
    QVERIFY2(compiled.ok(), qPrintable(compiled.failure().description));
    const QByteArray utf8 = value.toUtf8();
    QCOMPARE(compiled->matches(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))), expected);
}

void TestLikePattern::unreadablePatternsFail_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::newRow("unclosed bracket") << u"%[abc%"_qs;
    QTest::newRow("lone bracket") << u"%[%"_qs;
    QTest::newRow("backwards range") << u"%[z-a]%"_qs;
}

void TestLikePattern::unreadablePatternsFail()
{
    QFETCH(QString, pattern);
    auto compiled = LikePattern::compile(pattern);
    QVERIFY(!compiled.ok());
    QCOMPARE(compiled.failure().number, FailureNumber::InvalidPattern);
    QVERIFY(compiled.failure().description.contains(pattern));
}

void TestLikePattern::plainSubstringPatternsUseByteSearch_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("plain");
    QTest::newRow("cjk term") << u"%發熱%"_qs << true;
    QTest::newRow("digits and punctuation") << u"%1:2、%"_qs << true;
    QTest::newRow("ascii letters, searched case blind") << u"%ab%"_qs << true;
    QTest::newRow("a letter with an accent folds") << u"%é%"_qs << false;
    QTest::newRow("sharp s has a capital") << u"%ß%"_qs << false;
    QTest::newRow("underscore") << u"%a_%"_qs << false;
    QTest::newRow("empty term") << u"%%"_qs << true;
    QTest::newRow("anchored") << u"發熱%"_qs << false;
}

void TestLikePattern::plainSubstringPatternsUseByteSearch()
{
    QFETCH(QString, pattern);
    QFETCH(bool, plain);
    auto compiled = LikePattern::compile(pattern);
    QVERIFY(compiled.ok());
    QCOMPARE(compiled->isPlainSubstring(), plain);
}

void TestLikePattern::finderAgreesWithStdFindOnRandomText()
{
    // Few distinct bytes, so that filter bytes collide often and every
    // boundary of the vector loop is crossed.
    QRandomGenerator random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string hay(static_cast<std::size_t>(random.bounded(0, 200)), 'a');
        for (char &c : hay)
            c = static_cast<char>('a' + random.bounded(3));
        std::string needle(static_cast<std::size_t>(random.bounded(1, 7)), 'a');
        for (char &c : needle)
            c = static_cast<char>('a' + random.bounded(3));
        const std::size_t from = hay.empty() ? 0 : static_cast<std::size_t>(random.bounded(static_cast<int>(hay.size())));
        const SubstringFinder finder(needle);
        QCOMPARE(finder.find(hay, from), hay.find(needle, from));
    }
}

void TestLikePattern::caseBlindFinderAgreesWithFoldedFind()
{
    // Letters in both cases and the bytes that differ from a letter only in
    // bit 0x20 ("@" and "`"), so that a wrong mask shows.
    const char alphabet[] = {'a', 'A', 'b', 'B', '@', '`'};
    QRandomGenerator random(11);
    const auto lower = [](std::string text) {
        for (char &c : text)
            c = (c >= 'A' && c <= 'Z') ? char(c + 32) : c;
        return text;
    };
    for (int round = 0; round < 3000; ++round) {
        std::string hay(static_cast<std::size_t>(random.bounded(0, 200)), 'a');
        for (char &c : hay)
            c = alphabet[random.bounded(6)];
        std::string needle(static_cast<std::size_t>(random.bounded(1, 7)), 'a');
        for (char &c : needle)
            c = alphabet[random.bounded(6)];
        needle = lower(needle);
        const std::size_t from = hay.empty() ? 0 : static_cast<std::size_t>(random.bounded(static_cast<int>(hay.size())));
        const SubstringFinder finder(needle, true);
        QCOMPARE(finder.find(hay, from), lower(hay).find(needle, from));
    }
}

// The set is a lookup table now; it must accept exactly what testing each
// range with its case variants accepts.
void TestLikePattern::setLookupAgreesWithRangeRule()
{
    QRandomGenerator random(7);
    const auto pick = [&] {
        static const char32_t bases[] = {0x20, 0xC0, 0x370, 0x400, 0x1E00, 0x2160, 0x4E00, 0xFF21, 0x10400, 0x2A700, 0x31000};
        return bases[random.bounded(int(std::size(bases)))] + char32_t(random.bounded(300));
    };
    for (int round = 0; round < 200; ++round) {
        std::vector<std::pair<char32_t, char32_t>> ranges;
        for (int k = random.bounded(1, 6); k > 0; --k) {
            const char32_t low = pick();
            ranges.emplace_back(low, low + char32_t(random.bounded(random.bounded(2) ? 2 : 600)));
        }
        const CharacterSet set(ranges);
        for (int probe = 0; probe < 300; ++probe) {
            const char32_t c = random.bounded(4) == 0 ? ranges[0].first + char32_t(random.bounded(3)) - 1 : pick();
            bool expected = false;
            for (const auto &[low, high] : ranges)
                expected = expected || CaseFolding::inRangeIgnoringCase(c, low, high);
            QVERIFY2(set.contains(c) == expected, qPrintable(QString::number(uint(c), 16)));
        }
    }
}

QTEST_GUILESS_MAIN(TestLikePattern)
#include "test_likepattern.moc"
