// Posting lists survive their encoding whatever form it takes (gaps, Rice
// coded gaps, bitmap), and cut or changed bytes never read past the list.

#include "postingcodec.h"

#include <QRandomGenerator>
#include <QtTest>

#include <vector>

using List = std::vector<std::uint32_t>;
Q_DECLARE_METATYPE(List)

class TestPostingCodec : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void listsRoundTrip_data();
    void listsRoundTrip();
    void cutListsAreRefusedOrBounded();
    void damagedHeadsAreRefused_data();
    void damagedHeadsAreRefused();
};

namespace {
List spread(std::uint32_t count, std::uint32_t step, std::uint32_t first = 0)
{
    List list;
    for (std::uint32_t i = 0; i < count; ++i)
        list.push_back(first + i * step);
    return list;
}

List randomList(std::uint32_t count, std::uint32_t range, quint32 seed)
{
    QRandomGenerator random(seed);
    std::vector<bool> taken(range, false);
    List list;
    while (list.size() < count) {
        const std::uint32_t v = random.bounded(range);
        if (!taken[v]) {
            taken[v] = true;
            list.push_back(v);
        }
    }
    std::sort(list.begin(), list.end());
    return list;
}

List decoded(const std::string &bytes)
{
    const std::optional<Roaring> bitmap = PostingCodec::decode(bytes.data(), bytes.size());
    if (!bitmap)
        return {UINT32_MAX, 0}; // not a list: never equal to one
    List out(bitmap->cardinality());
    bitmap->toUint32Array(out.data());
    return out;
}
}

void TestPostingCodec::listsRoundTrip_data()
{
    QTest::addColumn<List>("list");
    QTest::newRow("one record, the first") << List{0};
    QTest::newRow("one record, the last possible") << List{UINT32_MAX};
    QTest::newRow("short list of far records") << List{3, 70000, 4000000000u};
    QTest::newRow("just long enough for Rice") << spread(PostingCodec::kRiceFrom, 1000, 5);
    QTest::newRow("records a few dozen apart") << spread(5000, 37);
    QTest::newRow("dense run, a bitmap") << spread(100000, 1);
    QTest::newRow("every other record") << spread(60000, 2, 1);
    QTest::newRow("random, sparse") << randomList(3000, 315000, 1);
    QTest::newRow("random, dense") << randomList(150000, 315000, 2);
    QTest::newRow("gaps beyond 2^32 of a shift") << List{0, 1, 2, 3, 4, 5, 6, UINT32_MAX};
}

void TestPostingCodec::listsRoundTrip()
{
    QFETCH(List, list);
    std::string bytes = "prefix";
    PostingCodec::encode(list.data(), list.size(), bytes);
    QCOMPARE(decoded(bytes.substr(6)), list);
}

void TestPostingCodec::cutListsAreRefusedOrBounded()
{
    for (const List &list : {spread(20, 1000), spread(5000, 37), spread(100000, 1)}) {
        std::string bytes;
        PostingCodec::encode(list.data(), list.size(), bytes);
        for (std::size_t keep = 0; keep < bytes.size(); keep += 1 + bytes.size() / 50) {
            const std::optional<Roaring> bitmap = PostingCodec::decode(bytes.data(), keep);
            // A cut list reads as damaged, or as some list, never past its end
            // (the sanitizer build would tell).
            QVERIFY(!bitmap || bitmap->cardinality() <= list.size() + 1);
        }
    }
}

void TestPostingCodec::damagedHeadsAreRefused_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("count varint longer than 64 bits")
        << QByteArray("\x00\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\xff\x01\x01", 14);
    QTest::newRow("rice count running past the end") << QByteArray("\x02\xff\xff", 3);
    QTest::newRow("rice shift beyond 31") << QByteArray("\x02\x01\x40\x00", 4);
    QTest::newRow("unknown form") << QByteArray("\x07\x01\x00", 3);
    QTest::newRow("no bytes") << QByteArray();
}

void TestPostingCodec::damagedHeadsAreRefused()
{
    QFETCH(QByteArray, bytes);
    // Copied, so that a read past the end is a sanitizer report.
    const std::vector<char> copy(bytes.begin(), bytes.end());
    QVERIFY(!PostingCodec::decode(copy.data(), copy.size()));
}

QTEST_GUILESS_MAIN(TestPostingCodec)
#include "test_postingcodec.moc"
