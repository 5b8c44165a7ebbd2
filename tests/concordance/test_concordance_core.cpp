#include "concordanceexport.h"
#include "concordancelines.h"
#include "concordanceorder.h"
#include "concordancequery.h"
#include "concordancesource.h"
#include "searchrun.h"
#include "termindexregistry.h"
#include "varianttable.h"

#include <sqlite3.h>

#include "testdatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// One line as "left|hit|right".
QString shown(const Concordance::Line &line)
{
    return QStringList{line.left().toString(), line.hit().toString(), line.right().toString()}.join(QLatin1Char('|'));
}

// The lines of one record's content for a query, each as "left|hit|right".
QStringList linesOf(const QString &query, const QVariant &content, int width)
{
    auto compiled = ConcordanceQuery::fromQueryText(query);
    if (!compiled.ok())
        return {u"failure "_qs + QString::number(compiled.failure().number)};
    Concordance concordance;
    concordance.width = width;
    if (content.isNull()) // what the reader does with a NULL content: no record
        return {};
    const QByteArray bytes = content.toString().toUtf8();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (!compiled->inResult(text))
        return {u"not in result"_qs};
    addConcordanceRecord(concordance, compiled.value(), Concordance::Record{u"t"_qs, u"p.htm"_qs, 1}, text);
    QStringList out;
    for (const Concordance::Line &line : concordance.lines)
        out << shown(line);
    return out;
}

Concordance sample()
{
    Concordance c;
    c.records = {{u"乙篇"_qs, u"b.htm"_qs, 1}, {u"甲篇"_qs, u"books\\a.htm"_qs, 2}};
    c.lines = {{0, 0, u"太陽病，去"_qs, u"桂枝"_qs, u"加附子湯"_qs},
               {0, 1, u"以"_qs, u"桂枝"_qs, u"湯主之"_qs},
               {1, 0, u"甘草，"_qs, u"桂枝"_qs, u"三兩"_qs},
               {1, 1, u"服"_qs, u"桂枝"_qs, u"湯，"_qs}};
    return c;
}
}

class TestConcordanceCore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesAndContexts_data();
    void linesAndContexts();
    void variantTermsShowThePrintedForms();
    void sortsByLeftReadBackwardsRightAndTitle_data();
    void sortsByLeftReadBackwardsRightAndTitle();
    void filterKeepsLinesHoldingTheTextAcrossColumns();
    void exportBytes_data();
    void exportBytes();
    void exportThroughATemporaryFile();
    void readsTheSearchRecordsInResultOrder();
    void recordsComeAsTheSearchListsThem_data();
    void recordsComeAsTheSearchListsThem();
    void theTermIndexGivesTheSameLines_data();
    void theTermIndexGivesTheSameLines();
    void noQueryNoLinesAndFailure_data();
    void noQueryNoLinesAndFailure();
};

void TestConcordanceCore::linesAndContexts_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QVariant>("content");
    QTest::addColumn<int>("width");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("one term") << u"桂枝"_qs << QVariant(u"太陽中風，桂枝湯主之。"_qs) << 3
                              << QStringList{u"中風，|桂枝|湯主之"_qs};
    QTest::newRow("several terms, text order") << u"湯 桂枝"_qs << QVariant(u"桂枝湯，麻黃湯"_qs) << 2
                                               << QStringList{u"|桂枝|湯，"_qs, u"桂枝|湯|，麻"_qs, u"麻黃|湯|"_qs};
    QTest::newRow("overlapping occurrences of one term") << u"aa"_qs << QVariant(u"xaaay"_qs) << 1
                                                         << QStringList{u"x|aa|a"_qs, u"a|aa|y"_qs};
    QTest::newRow("overlapping terms, same stretch once") << u"+桂枝 枝湯 桂枝"_qs << QVariant(u"桂枝湯"_qs) << 1
                                                          << QStringList{u"|桂枝|湯"_qs, u"桂|枝湯|"_qs};
    QTest::newRow("hit at very start and end") << u"ab"_qs << QVariant(u"ab-ab"_qs) << 5
                                               << QStringList{u"|ab|-ab"_qs, u"ab-|ab|"_qs};
    QTest::newRow("underscore shows what it matched") << u"桂_湯"_qs << QVariant(u"桂枝湯與桂心湯"_qs) << 1
                                                      << QStringList{u"|桂枝湯|與"_qs, u"與|桂心湯|"_qs};
    QTest::newRow("percent inside: shortest match") << u"桂%湯"_qs << QVariant(u"桂枝加附子湯，湯"_qs) << 1
                                                    << QStringList{u"|桂枝加附子湯|，"_qs};
    QTest::newRow("outer percent signs change nothing") << u"%枝%"_qs << QVariant(u"桂枝"_qs) << 1
                                                        << QStringList{u"桂|枝|"_qs};
    QTest::newRow("set and negated set") << u"[甲乙]子 [!甲]丑"_qs << QVariant(u"甲子乙子丙丑甲丑"_qs) << 1
                                         << QStringList{u"|甲子|乙"_qs, u"子|乙子|丙"_qs, u"子|丙丑|甲"_qs};
    QTest::newRow("surrogate pairs count once") << u"枝"_qs << QVariant(u"𠀀𠀁枝𠀂𠀃"_qs) << 1
                                                << QStringList{u"𠀁|枝|𠀂"_qs};
    QTest::newRow("surrogate pair in the term and under _") << u"𠀁_"_qs << QVariant(u"a𠀁𠀂b"_qs) << 1
                                                            << QStringList{u"a|𠀁𠀂|b"_qs};
    QTest::newRow("case-folded Latin, the hit as written") << u"abc"_qs << QVariant(u"xABCy abc"_qs) << 1
                                                           << QStringList{u"x|ABC|y"_qs, u" |abc|"_qs};
    QTest::newRow("Kelvin sign folds to k") << u"ok"_qs << QVariant(u"O\u212A ok"_qs) << 0
                                            << QStringList{u"|O\u212A|"_qs, u"|ok|"_qs};
    QTest::newRow("case-folded Greek through a set") << u"[α]β"_qs << QVariant(u"ΑΒ"_qs) << 0
                                                     << QStringList{u"|ΑΒ|"_qs};
    QTest::newRow("line ends and tabs read as blanks") << u"枝"_qs << QVariant(u"桂\n枝\t湯"_qs) << 2
                                                       << QStringList{u"桂 |枝| 湯"_qs};
    QTest::newRow("empty term finds the record, marks nothing") << u"- 桂"_qs << QVariant(u"桂"_qs) << 1
                                                                << QStringList{u"|桂|"_qs};
    QTest::newRow("all terms: a record without one is out") << u"桂 麻"_qs << QVariant(u"桂枝"_qs) << 1
                                                            << QStringList{u"not in result"_qs};
    QTest::newRow("apostrophe is literal") << u"it's"_qs << QVariant(u"so it's so"_qs) << 1
                                           << QStringList{u" |it's| "_qs};
    QTest::newRow("null content gives no line") << u"桂"_qs << QVariant() << 1 << QStringList{};
    QTest::newRow("unreadable term") << u"[x"_qs << QVariant(u"x"_qs) << 1 << QStringList{u"failure -2147217913"_qs};
}

void TestConcordanceCore::linesAndContexts()
{
    QFETCH(QString, query);
    QFETCH(QVariant, content);
    QFETCH(int, width);
    QFETCH(QStringList, lines);
    QCOMPARE(linesOf(query, content, width), lines);
}

void TestConcordanceCore::variantTermsShowThePrintedForms()
{
    const VariantTable table = VariantTable::fromTexts({u"脉脈衇\n黄>黃"_qs});
    const QByteArray bytes = u"寸口脈浮，脉沉；黃耆、黄耆。"_qs.toUtf8();
    const std::string_view content(bytes.constData(), std::size_t(bytes.size()));
    const auto lines = [&](const QString &query, const VariantTable *variants) {
        auto compiled = ConcordanceQuery::fromQueryText(query, variants);
        Concordance concordance;
        concordance.width = 1;
        if (compiled.ok() && compiled->inResult(content))
            addConcordanceRecord(concordance, compiled.value(), Concordance::Record{u"t"_qs, u"p.htm"_qs, 1}, content);
        QStringList out;
        for (const Concordance::Line &line : concordance.lines)
            out << shown(line);
        return out;
    };
    QCOMPARE(lines(u"脉"_qs, &table), (QStringList{u"口|脈|浮"_qs, u"，|脉|沉"_qs}));
    QCOMPARE(lines(u"脉"_qs, nullptr), QStringList{u"，|脉|沉"_qs});
    QCOMPARE(lines(u"+黄耆 [脉]"_qs, &table), (QStringList{u"，|脉|沉"_qs, u"；|黃耆|、"_qs, u"、|黄耆|。"_qs}));
}

void TestConcordanceCore::sortsByLeftReadBackwardsRightAndTitle_data()
{
    QTest::addColumn<int>("sort");
    QTest::addColumn<std::vector<std::uint32_t>>("order");
    QTest::newRow("result order") << int(ConcordanceSort::ResultOrder) << std::vector<std::uint32_t>{0, 1, 2, 3};
    // Read from the hit backwards: 以, 去病陽太, 服, ，草甘 (by code point: 以 U+4EE5 < 去 U+53BB < 服 U+670D < ， U+FF0C).
    QTest::newRow("left, backwards") << int(ConcordanceSort::LeftContext) << std::vector<std::uint32_t>{1, 0, 3, 2};
    // 桂枝三兩 < 桂枝加附子湯 < 桂枝湯，< 桂枝湯主之 (三 U+4E09 < 加 U+52A0 < 湯 U+6E6F; ， U+FF0C after 主 U+4E3B).
    QTest::newRow("right") << int(ConcordanceSort::RightContext) << std::vector<std::uint32_t>{2, 0, 1, 3};
    // 乙 U+4E59 < 甲 U+7532; equal titles keep the result order.
    QTest::newRow("title, stable") << int(ConcordanceSort::Title) << std::vector<std::uint32_t>{0, 1, 2, 3};
}

void TestConcordanceCore::sortsByLeftReadBackwardsRightAndTitle()
{
    QFETCH(int, sort);
    QFETCH(std::vector<std::uint32_t>, order);
    QCOMPARE(sortedLines(sample(), ConcordanceSort(sort)), order);
}

void TestConcordanceCore::filterKeepsLinesHoldingTheTextAcrossColumns()
{
    const Concordance c = sample();
    const std::vector<std::uint32_t> all{3, 2, 1, 0};
    QCOMPARE(filteredLines(c, all, QString()), all);
    QCOMPARE(filteredLines(c, all, u"去桂枝加"_qs), (std::vector<std::uint32_t>{0}));
    QCOMPARE(filteredLines(c, all, u"甲"_qs), (std::vector<std::uint32_t>{3, 2}));
    QCOMPARE(filteredLines(c, all, u"桂枝湯"_qs), (std::vector<std::uint32_t>{3, 1}));
    QCOMPARE(filteredLines(c, all, u"無"_qs), (std::vector<std::uint32_t>{}));
}

void TestConcordanceCore::exportBytes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("header");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("tsv with header") << int(ConcordanceFormat::Tsv) << true
        << u"title\tpage\tleft\thit\tright\n甲篇\tbooks\\a.htm\t服\t桂枝\t湯，\n乙篇\tb.htm\t以\t桂枝\t湯主之\n"_qs.toUtf8();
    QTest::newRow("csv: byte order mark, quotes, CR LF") << int(ConcordanceFormat::Csv) << false
        << (QByteArray("\xEF\xBB\xBF") + u"甲篇,books\\a.htm,服,桂枝,湯，\r\n乙篇,b.htm,以,桂枝,湯主之\r\n"_qs.toUtf8());
}

void TestConcordanceCore::exportBytes()
{
    QFETCH(int, format);
    QFETCH(bool, header);
    QFETCH(QByteArray, bytes);
    QCOMPARE(concordanceText(sample(), {3, 1}, ConcordanceFormat(format), header), bytes);
    Concordance awkward;
    awkward.records = {{u"a,\"b\"\tc"_qs, u"p"_qs, 1}};
    awkward.lines = {{0, 0, u"x"_qs, u"y"_qs, u"z"_qs}};
    QCOMPARE(concordanceText(awkward, {0}, ConcordanceFormat::Csv, false), QByteArray("\xEF\xBB\xBF\"a,\"\"b\"\"\tc\",p,x,y,z\r\n"));
    QCOMPARE(concordanceText(awkward, {0}, ConcordanceFormat::Tsv, false), QByteArray("a,\"b\" c\tp\tx\ty\tz\n"));
}

void TestConcordanceCore::exportThroughATemporaryFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"lines.tsv"_qs);
    QVERIFY(writeConcordanceFile(path, QByteArray("old")).ok());
    QVERIFY(writeConcordanceFile(path, QByteArray("new\n")).ok());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("new\n"));
    // A folder that does not exist: a failure naming the file, nothing made.
    const QString missing = dir.filePath(u"no/such/lines.tsv"_qs);
    const Status failed = writeConcordanceFile(missing, QByteArray("x"));
    QVERIFY(!failed.ok());
    QCOMPARE(failed.failure().number, FailureNumber::PathAccess);
    QVERIFY(failed.failure().description.contains(missing));
    // A folder at the path stays a folder.
    QVERIFY(QDir(dir.path()).mkdir(u"taken.tsv"_qs));
    QVERIFY(!writeConcordanceFile(dir.filePath(u"taken.tsv"_qs), QByteArray("x")).ok());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"lines.tsv"_qs});
}

void TestConcordanceCore::readsTheSearchRecordsInResultOrder()
{
    QTemporaryDir dir;
    QVERIFY(writeTestDatabase(dir.path(), standardRecords()));
    const DatabaseLocation location = DatabaseLocation::inFolder(dir.path());
    // All terms: newest first (溫病 2001, then 傷寒論 1990); the NULL record is no row.
    ConcordanceOutcome all = readConcordance(location, u"發熱"_qs, 2);
    QCOMPARE(all.end, ConcordanceEnd::Lines);
    QCOMPARE(all.concordance.records.size(), std::size_t(2));
    QCOMPARE(all.concordance.records[0].subject, u"溫病 發熱"_qs);
    QCOMPARE(all.concordance.records[0].htm, u"books\\wen\\p02.htm"_qs);
    QCOMPARE(all.concordance.records[1].resultRow, 2);
    QCOMPARE(shown(all.concordance.lines[0]), u"起，|發熱|而渴"_qs);
    // Any term: row id order, as the search lists it; the row counts every record found.
    ConcordanceOutcome any = readConcordance(location, u"+頭痛 abc"_qs, 1);
    QCOMPARE(any.end, ConcordanceEnd::Lines);
    QStringList rows;
    for (const Concordance::Record &r : any.concordance.records)
        rows << r.subject + QLatin1Char(' ') + QString::number(r.resultRow);
    QCOMPARE(rows, (QStringList{u"傷寒論 發熱 1"_qs, u"頭痛論 2"_qs, u"醫者's note 3"_qs, u"小寫 4"_qs}));
}

void TestConcordanceCore::recordsComeAsTheSearchListsThem_data()
{
    QTest::addColumn<QString>("schema");
    QTest::addColumn<QString>("query");
    // Dates of every storage class, equal dates, and a collation of the
    // column's own: the concordance's records must come as the search's rows.
    const QString rows = u"INSERT INTO maindata VALUES"
                         " ('a','a.htm','x 桂枝',NULL),('b','b.htm','桂枝',5),('c','c.htm','桂枝 y',5.5),"
                         " ('d','d.htm','桂枝','b'),('e','e.htm','去桂枝','A'),('f','f.htm','桂枝',x'00'),"
                         " ('g','g.htm','桂枝','a'),('h','h.htm','桂枝',5),('i','i.htm','無',9);"_qs;
    const QString plain = u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date);"_qs + rows;
    const QString nocase = u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT COLLATE NOCASE);"_qs
        + rows;
    QTest::newRow("mixed dates, all terms") << plain << u"桂枝"_qs;
    QTest::newRow("mixed dates, minus") << plain << u"-桂枝"_qs;
    QTest::newRow("column collated without case") << nocase << u"桂枝"_qs;
    QTest::newRow("any term: row id order") << plain << u"+桂枝 無"_qs;
}

void TestConcordanceCore::recordsComeAsTheSearchListsThem()
{
    QFETCH(QString, schema);
    QFETCH(QString, query);
    QTemporaryDir dir;
    sqlite3 *db = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(dir.filePath(u"jst.mdb"_qs)).constData(), &db), SQLITE_OK);
    QCOMPARE(sqlite3_exec(db, schema.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    const DatabaseLocation location = DatabaseLocation::inFolder(dir.path());
    const SearchOutcome search = runSearch(buildQuery(query), location, nullptr);
    QCOMPARE(search.end, SearchEnd::Rows);
    QStringList listed;
    for (const ResultRow &row : search.rows)
        listed << row.subject;
    const ConcordanceOutcome outcome = readConcordance(location, query, 2);
    QCOMPARE(outcome.end, ConcordanceEnd::Lines);
    QStringList read;
    for (const Concordance::Record &record : outcome.concordance.records) {
        read << record.subject;
        QCOMPARE(listed.value(record.resultRow - 1), record.subject);
    }
    QCOMPARE(read, listed); // every record listed has a line here
}

void TestConcordanceCore::theTermIndexGivesTheSameLines_data()
{
    QTest::addColumn<QString>("query");
    QTest::newRow("one term, exact postings") << u"發熱"_qs;
    QTest::newRow("minus, two terms") << u"-頭痛 發熱"_qs;
    QTest::newRow("any term, row id order") << u"+頭痛 abc"_qs;
    QTest::newRow("wildcards: candidates confirmed") << u"a_b"_qs;
    QTest::newRow("a set") << u"[頭溫]"_qs;
    QTest::newRow("case folded Latin") << u"ABC"_qs;
    QTest::newRow("found nowhere") << u"麻黃"_qs;
}

void TestConcordanceCore::theTermIndexGivesTheSameLines()
{
    QFETCH(QString, query);
    QTemporaryDir dir;
    // Records that hold no term, so that the terms' records are few enough
    // for the index to be read.
    std::vector<TestRecord> records = standardRecords();
    for (int i = 0; i < 40; ++i)
        records.push_back({u"雜"_qs + QString::number(i), u"z.htm"_qs, u"無關之文"_qs, u"1980-01-01 00:00:00"_qs});
    QVERIFY(writeTestDatabase(dir.path(), records));
    const DatabaseLocation location = DatabaseLocation::inFolder(dir.path());
    TermIndexRegistry registry(dir.filePath(u"tmp"_qs), IndexBuilding::OnRequest);
    QVERIFY(QDir(dir.path()).mkpath(u"tmp"_qs));
    QVERIFY(registry.buildNow(location.database).ok());
    QVERIFY(registry.indexFor(location.database));
    const auto describe = [](const ConcordanceOutcome &outcome) {
        QStringList out{QString::number(int(outcome.end)), QString::number(outcome.concordance.resultRecords)};
        for (const Concordance::Line &line : outcome.concordance.lines) {
            const Concordance::Record &record = outcome.concordance.records[line.record];
            out << record.subject + u' ' + record.htm + u' ' + QString::number(record.resultRow) + u' '
                    + QString::number(line.occurrence) + u' ' + shown(line);
        }
        return out;
    };
    const QStringList scanned = describe(readConcordance(location, query, 3));
    QCOMPARE(describe(readConcordance(location, query, 3, nullptr, &registry)), scanned);
}

void TestConcordanceCore::noQueryNoLinesAndFailure_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<bool>("database");
    QTest::addColumn<int>("end");
    QTest::newRow("empty query") << u"  "_qs << true << int(ConcordanceEnd::NoQuery);
    QTest::newRow("plus alone") << u"+"_qs << true << int(ConcordanceEnd::NoQuery);
    QTest::newRow("term found nowhere") << u"麻黃"_qs << true << int(ConcordanceEnd::NoLines);
    QTest::newRow("missing database") << u"發熱"_qs << false << int(ConcordanceEnd::Failed);
    QTest::newRow("unreadable term") << u"[x"_qs << true << int(ConcordanceEnd::Failed);
}

void TestConcordanceCore::noQueryNoLinesAndFailure()
{
    QFETCH(QString, query);
    QFETCH(bool, database);
    QFETCH(int, end);
    QTemporaryDir dir;
    if (database)
        QVERIFY(writeTestDatabase(dir.path(), standardRecords()));
    const ConcordanceOutcome outcome = readConcordance(DatabaseLocation::inFolder(dir.path()), query, 12);
    QCOMPARE(int(outcome.end), end);
    if (outcome.end == ConcordanceEnd::Failed)
        QVERIFY(!outcome.failure.description.isEmpty());
}

QTEST_GUILESS_MAIN(TestConcordanceCore)
#include "test_concordance_core.moc"
