// The collection index and its registry: literal runs and exact keys of
// patterns, answers against the matcher itself, the kept file (reused,
// rebuilt after a change or damage, refused while writes are pending, read
// safely when it is damaged, cut short or overwritten under the reader),
// tables whose columns hide or imitate the row id, and a keep folder that
// cannot be made.

#include "casefolding.h"
#include "collectionindex.h"
#include "setsequence.h"
#include "textkeys.h"
#include "contentdatabase.h"
#include "indexcorpus.h"
#include "indexedsearch.h"
#include "readonlyopener.h"
#include "jetstatement.h"
#include "likeliterals.h"
#include "likepattern.h"
#include "queryplan.h"
#include "termindexregistry.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using Runs = std::vector<std::u32string>;
Q_DECLARE_METATYPE(Runs)
using Key = TextKeys::Key;

namespace {
Runs runsOf(const QStringList &texts)
{
    Runs runs;
    for (const QString &text : texts) {
        std::u32string run;
        for (const uint c : text.toUcs4())
            run.push_back(char32_t(c));
        runs.push_back(run);
    }
    return runs;
}

QString dbIn(const QString &folder)
{
    return folder + u"/jst.mdb"_qs;
}

// Writes folder/jst.mdb with one row per content, dates all equal.
bool writeContents(const QString &folder, const QStringList &contents)
{
    IndexCorpus::Rows rows;
    for (qsizetype r = 0; r < contents.size(); ++r)
        rows.push_back({IndexCorpus::Cell::text(u"s%1"_qs.arg(r)), IndexCorpus::Cell::text(u"h%1.htm"_qs.arg(r)),
                        IndexCorpus::Cell::text(contents[r]), IndexCorpus::Cell::text(u"d"_qs)});
    return IndexCorpus::writeTable(dbIn(folder), "CREATE TABLE maindata(subject, htm, content, date)",
                                   "INSERT INTO maindata VALUES(?1,?2,?3,?4)", rows);
}

// The records whose content the matcher accepts, by ordinal.
Roaring matcherAnswer(const std::vector<std::optional<QByteArray>> &contents, bool all, const QStringList &patterns)
{
    std::vector<LikePattern> compiled;
    for (const QString &p : patterns)
        compiled.push_back(LikePattern::compile(p).value());
    Roaring rows;
    for (std::uint32_t i = 0; i < contents.size(); ++i) {
        if (!contents[i] || compiled.empty())
            continue;
        const std::string_view value(contents[i]->constData(), std::size_t(contents[i]->size()));
        bool hit = all;
        for (const LikePattern &p : compiled)
            hit = all ? hit && p.matches(value) : hit || p.matches(value);
        if (hit)
            rows.add(i);
    }
    return rows;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QString keptPath(const QString &keep, const QString &dbPath)
{
    return keep + QLatin1Char('/') + IndexFile::fileNameFor(FileStamp::of(dbPath));
}

// Queries of every kind the index answers, for end-to-end comparisons.
const QStringList &probeQueries()
{
    static const QStringList queries{QString(), u"-"_qs, u"發"_qs, u"發熱"_qs, u"k"_qs, u"發熱惡"_qs, u"+發 頭痛"_qs,
                                     u"-_熱 之"_qs, u"+a  b"_qs, u"[ab]"_qs, u"it's"_qs, u"Kat"_qs, u"ß"_qs};
    return queries;
}

// The first query whose outcome with the registry differs from the scan's.
QString differenceFromScan(const QString &dbPath, TermIndexRegistry &registry)
{
    const DatabaseLocation location{dbPath, QString()};
    for (const QString &query : probeQueries()) {
        const QString statement = buildQuery(query).SqlText;
        const Result<ResultRows> scan = ContentDatabase::runStatement(location, statement);
        const Result<ResultRows> indexed = ContentDatabase::runStatement(location, statement, &registry);
        if (scan.ok() != indexed.ok())
            return query + u": one failed"_qs;
        if (!scan.ok())
            continue;
        if (scan.value().size() != indexed.value().size())
            return query + u": %1 rows instead of %2"_qs.arg(indexed.value().size()).arg(scan.value().size());
        for (std::size_t r = 0; r < scan.value().size(); ++r)
            if (scan.value()[r].subject != indexed.value()[r].subject || scan.value()[r].htm != indexed.value()[r].htm)
                return query + u": row %1 differs"_qs.arg(r);
    }
    return {};
}


struct FileIdentity {
    ino_t inode = 0;
    std::int64_t modifiedNs = -1;
    bool operator==(const FileIdentity &) const = default;
};

FileIdentity identityOf(const QString &path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {st.st_ino, std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}
}

class TestCollectionIndex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void literalRunsOfPatterns_data();
    void literalRunsOfPatterns();
    void indexFoldsAsTheMatcher();
    void exactKeys_data();
    void exactKeys();
    void answersAgreeWithTheMatcher_data();
    void answersAgreeWithTheMatcher();
    void candidatesKeepEveryCaseVariant();
    void groupsWithUnfilterablePatterns();
    void damagedFileNeverAnswersWrongly_data();
    void damagedFileNeverAnswersWrongly();
    void fileChangedUnderTheReader_data();
    void fileChangedUnderTheReader();
    void keptIndexIsReusedWithoutABuild();
    void buildNowRebuildsOnlyWhatDoesNotFit();
    void changedDatabaseGetsNoOldIndex();
    void rewrittenInPlaceWithOldTimeGetsNoOldIndex();
    void pendingWritesGetNoIndex();
    void columnsNamedLikeTheRowId_data();
    void columnsNamedLikeTheRowId();
    void keepFolderThatCannotBeMade();

private:
    QString freshFolder();
    // Every answer and catalogue read of index, each either the clean
    // index's or a failure with damaged() set; true when any read failed.
    bool probeAgainstClean(const CollectionIndex &index);

    QTemporaryDir m_root;
    QString m_corpus; // generated CJK corpus, several blocks of catalogue
    QString m_mixed;  // Latin, BLOBs with invalid UTF-8, numbers
    QString m_keep;   // the corpus's kept index
    std::shared_ptr<const CollectionIndex> m_clean, m_mixedIndex;
    std::vector<QStringList> m_probeGroups; // a pattern for every key, and groups
    int m_folders = 0;
};

void TestCollectionIndex::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_corpus = freshFolder();
    QVERIFY(IndexCorpus::writeCorpus(m_corpus, 3000, 5, 7));
    m_mixed = freshFolder();
    QVERIFY(IndexCorpus::writeMixedCorpus(m_mixed, 2500, 11));
    m_keep = freshFolder();
    TermIndexRegistry registry(m_keep, IndexBuilding::OnRequest);
    auto built = registry.buildNow(dbIn(m_corpus));
    QVERIFY(built.ok());
    m_clean = built.value();
    TermIndexRegistry mixed(freshFolder(), IndexBuilding::OnRequest);
    auto builtMixed = mixed.buildNow(dbIn(m_mixed));
    QVERIFY(builtMixed.ok());
    m_mixedIndex = builtMixed.value();

    // A pattern for every key a pattern can ask for.
    QVERIFY(m_clean->forEachKey([this](Key key, std::uint64_t) {
        const auto text = [](char32_t c) { return QString::fromUcs4(&c, 1); };
        if (key == TextKeys::kContentKey)
            m_probeGroups.push_back({u"%"_qs});
        else if (key < (Key(1) << 42))
            m_probeGroups.push_back({u"%"_qs + text(char32_t(key)) + u"%"_qs});
        else
            m_probeGroups.push_back({u"%"_qs + text(char32_t((key >> 21) & 0x1FFFFF)) + text(char32_t(key & 0x1FFFFF)) + u"%"_qs});
    }));
    QVERIFY(m_probeGroups.size() > 100);
    m_probeGroups.push_back({u"%發熱惡%"_qs, u"%之%"_qs});
    m_probeGroups.push_back({u"%a_b%"_qs});
}

QString TestCollectionIndex::freshFolder()
{
    const QString folder = m_root.filePath(QString::number(++m_folders));
    QDir().mkpath(folder);
    return folder;
}

void TestCollectionIndex::literalRunsOfPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<Runs>("runs");
    QTest::newRow("plain term") << u"%發熱%"_qs << runsOf({u"發熱"_qs});
    QTest::newRow("letters are folded") << u"%AbK\u212A%"_qs << runsOf({u"abkk"_qs});
    QTest::newRow("underscore splits") << u"%a_b%"_qs << runsOf({u"a"_qs, u"b"_qs});
    QTest::newRow("set splits") << u"%x[a-c]y%"_qs << runsOf({u"x"_qs, u"y"_qs});
    QTest::newRow("negated empty set is a character") << u"%x[!]y%"_qs << runsOf({u"x"_qs, u"y"_qs});
    QTest::newRow("empty set is nothing") << u"%x[]y%"_qs << runsOf({u"xy"_qs});
    QTest::newRow("inner percent splits") << u"%頭%痛%"_qs << runsOf({u"頭"_qs, u"痛"_qs});
    QTest::newRow("anchored pattern") << u"abc"_qs << runsOf({u"abc"_qs});
    QTest::newRow("empty term") << u"%%"_qs << Runs{};
    QTest::newRow("wildcards only") << u"%_[ab]%"_qs << Runs{};
    QTest::newRow("unclosed set") << u"%a[b%"_qs << Runs{};
    QTest::newRow("apostrophe is text") << u"%it's%"_qs << runsOf({u"it's"_qs});
    QTest::newRow("closing bracket is text") << u"%a]b%"_qs << runsOf({u"a]b"_qs});
}

void TestCollectionIndex::literalRunsOfPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(Runs, runs);
    QVERIFY(literalRuns(pattern) == runs);
}

void TestCollectionIndex::indexFoldsAsTheMatcher()
{
    // An exact answer is only right when the keys fold every character
    // exactly as the matcher does.
    for (char32_t c = 0; c <= 0x10FFFF; ++c)
        if (TextKeys::fold(c) != CaseFolding::fold(c))
            QFAIL(qPrintable(u"U+%1 folds differently"_qs.arg(uint(c), 4, 16, QLatin1Char('0'))));
}

void TestCollectionIndex::exactKeys_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<quint64>("key");
    using namespace TextKeys;
    QTest::newRow("one CJK character") << u"%發%"_qs << true << quint64(unigram(U'發'));
    QTest::newRow("two CJK characters") << u"%發熱%"_qs << true << quint64(bigram(U'發', U'熱'));
    QTest::newRow("character beyond the BMP") << u"%\U0002000B%"_qs << true << quint64(unigram(U'\U0002000B'));
    QTest::newRow("Latin letters, folded") << u"%Ab%"_qs << true << quint64(bigram(U'a', U'b'));
    QTest::newRow("Kelvin sign is k") << u"%\u212A%"_qs << true << quint64(unigram(U'k'));
    QTest::newRow("sharp s stays itself") << u"%ß%"_qs << true << quint64(unigram(U'ß'));
    QTest::newRow("capital sharp s folds") << u"%\u1E9E%"_qs << true << quint64(unigram(U'ß'));
    QTest::newRow("dotted capital I") << u"%\u0130%"_qs << true << quint64(unigram(CaseFolding::fold(0x130)));
    QTest::newRow("apostrophe and blank") << u"%' %"_qs << true << quint64(bigram(U'\'', U' '));
    QTest::newRow("doubled percents") << u"%%發%%"_qs << true << quint64(unigram(U'發'));
    QTest::newRow("percent alone") << u"%"_qs << true << quint64(kContentKey);
    QTest::newRow("empty term") << u"%%"_qs << true << quint64(kContentKey);
    QTest::newRow("three characters") << u"%發熱惡%"_qs << false << quint64(0);
    QTest::newRow("anchored at the start") << u"發%"_qs << false << quint64(0);
    QTest::newRow("anchored at the end") << u"%發"_qs << false << quint64(0);
    QTest::newRow("anchored at both ends") << u"發"_qs << false << quint64(0);
    QTest::newRow("empty pattern") << QString() << false << quint64(0);
    QTest::newRow("underscore") << u"%_%"_qs << false << quint64(0);
    QTest::newRow("underscore and character") << u"%發_%"_qs << false << quint64(0);
    QTest::newRow("set") << u"%[ab]%"_qs << false << quint64(0);
    QTest::newRow("unclosed bracket") << u"%[%"_qs << false << quint64(0);
    QTest::newRow("closing bracket") << u"%]%"_qs << false << quint64(0);
    QTest::newRow("inner percent") << u"%a%b%"_qs << false << quint64(0);
    QTest::newRow("replacement character") << u"%\uFFFD%"_qs << false << quint64(0);
    QTest::newRow("replacement character in a pair") << u"%a\uFFFD%"_qs << false << quint64(0);
}

void TestCollectionIndex::exactKeys()
{
    QFETCH(QString, pattern);
    QFETCH(bool, exact);
    QFETCH(quint64, key);
    const std::optional<Key> got = CollectionIndex::exactKey(pattern);
    QCOMPARE(got.has_value(), exact);
    if (exact)
        QCOMPARE(quint64(*got), key);
}

void TestCollectionIndex::answersAgreeWithTheMatcher_data()
{
    QTest::addColumn<bool>("all");
    QTest::addColumn<QStringList>("patterns");
    const auto row = [](const char *name, bool all, const QStringList &patterns) { QTest::newRow(name) << all << patterns; };
    row("one character", true, {u"%發%"_qs});
    row("two characters", true, {u"%發熱%"_qs});
    row("digit", true, {u"%1%"_qs});
    row("two digits and signs", true, {u"%1-%"_qs});
    row("overlong-prone letter", true, {u"%a%"_qs});
    row("Kelvin sign", true, {u"%\u212A%"_qs});
    row("capital K", true, {u"%K%"_qs});
    row("long s and s", true, {u"%\u017Fs%"_qs});
    row("sharp s", true, {u"%ß%"_qs});
    row("dotted I", true, {u"%\u0130%"_qs});
    row("final sigma", true, {u"%ς%"_qs});
    row("apostrophe pair", true, {u"%'!%"_qs});
    row("tab and digit", true, {u"%\t1%"_qs});
    row("percent alone", true, {u"%"_qs});
    row("empty term", true, {u"%%"_qs});
    row("three characters", true, {u"%發熱惡%"_qs});
    row("long Latin run", true, {u"%strasse%"_qs});
    row("underscore", true, {u"%a_b%"_qs});
    row("set", true, {u"%[ab]發%"_qs});
    row("sets of a variant search, by pairs", true, {u"%[發头][熱热]%"_qs});
    row("sets of a variant search, by characters", true, {u"%[發熱頭痛惡寒][發熱頭痛惡寒][發熱頭痛惡寒]%"_qs});
    row("set of Latin letters and a character", false, {u"%[Ss]%"_qs, u"%[發x]%"_qs});
    row("negated set", true, {u"%[!a-z]k%"_qs});
    row("anchored", true, {u"發%"_qs});
    row("replacement character", true, {u"%\uFFFD%"_qs});
    row("closing bracket", true, {u"%]%"_qs});
    row("all of exact ones", true, {u"%發%"_qs, u"%熱%"_qs});
    row("any of exact ones", false, {u"%發%"_qs, u"%熱%"_qs});
    row("all, exact and confirmed", true, {u"%發%"_qs, u"%頭痛之%"_qs});
    row("any, exact and confirmed", false, {u"%發熱%"_qs, u"%_惡%"_qs});
    row("any with empty term", false, {u"%發熱%"_qs, u"%%"_qs});
    row("all with empty term", true, {u"%%"_qs, u"%k%"_qs});
    row("no pattern", true, {});
}

void TestCollectionIndex::answersAgreeWithTheMatcher()
{
    QFETCH(bool, all);
    QFETCH(QStringList, patterns);
    // Exact: one key's postings, or a pattern of sets answered by the union
    // of one position's characters or of two positions' pairs.
    const auto setsExact = [](const QString &p) {
        const auto positions = setSequence(p, &TextKeys::fold);
        return positions
            && (positions->size() == 1 || (positions->size() == 2 && (*positions)[0].size() * (*positions)[1].size() <= 16));
    };
    bool exact = true;
    for (const QString &p : patterns)
        exact = exact && (CollectionIndex::exactKey(p).has_value() || setsExact(p));
    for (const auto &[folder, index] : {std::pair{m_corpus, m_clean}, std::pair{m_mixed, m_mixedIndex}}) {
        const auto contents = IndexCorpus::contentsInResultOrder(dbIn(folder));
        QCOMPARE(index->recordCount(), contents.size());
        const std::optional<CollectionIndex::Answer> answer = index->answer(all, patterns);
        QVERIFY(answer);
        QCOMPARE(answer->exact, exact);
        const Roaring expected = matcherAnswer(contents, all, patterns);
        if (exact) {
            const Roaring extra = answer->ordinals - expected, missing = expected - answer->ordinals;
            QVERIFY2(extra.isEmpty() && missing.isEmpty(),
                     qPrintable(u"%1: %2 records too many (first: %3), %4 missing"_qs.arg(folder)
                                    .arg(extra.cardinality())
                                    .arg(extra.isEmpty() ? QString() : QString::fromLatin1(contents[extra.minimum()]->toHex(' ')))
                                    .arg(missing.cardinality())));
        } else {
            QVERIFY2(expected.isSubset(answer->ordinals), qPrintable(folder));
        }
    }
}

void TestCollectionIndex::candidatesKeepEveryCaseVariant()
{
    const auto contents = IndexCorpus::contentsInResultOrder(dbIn(m_corpus));
    const Roaring k = m_clean->answer(true, {u"%k%"_qs})->ordinals;
    QCOMPARE(m_clean->answer(true, {u"%K%"_qs})->ordinals, k);
    QCOMPARE(m_clean->answer(true, {u"%\u212A%"_qs})->ordinals, k);
    for (std::uint32_t i = 0; i < contents.size(); ++i) {
        const QString c = contents[i] ? QString::fromUtf8(*contents[i]) : QString();
        if (c.contains(u"k"_qs) || c.contains(u"K"_qs) || c.contains(u"\u212A"_qs))
            QVERIFY(k.contains(i));
    }
}

void TestCollectionIndex::groupsWithUnfilterablePatterns()
{
    const Roaring heat = m_clean->answer(true, {u"%發熱%"_qs})->ordinals;
    const Roaring content = m_clean->answer(true, {u"%%"_qs})->ordinals;
    QVERIFY(!heat.isEmpty());
    // NULL content matches nothing, empty content matches "%".
    QCOMPARE(content.cardinality(), std::uint64_t(3000 - 60));
    // All terms: an empty term filters nothing, the others still do.
    QCOMPARE(m_clean->answer(true, {u"%%"_qs, u"%發熱%"_qs})->ordinals, heat);
    const auto wild = m_clean->answer(true, {u"%%"_qs, u"%_%"_qs});
    QCOMPARE(wild->ordinals, content);
    QVERIFY(!wild->exact);
    // Any term: one pattern that filters nothing lets every record with content through.
    QCOMPARE(m_clean->answer(false, {u"%發熱%"_qs, u"%%"_qs})->ordinals, content);
    const Roaring either = m_clean->answer(false, {u"%發熱%"_qs, u"%頭痛%"_qs})->ordinals;
    QVERIFY(either.cardinality() > heat.cardinality() && heat.isSubset(either));
    QVERIFY(m_clean->answer(true, {u"%發熱%"_qs, u"%不在此%"_qs})->ordinals.isEmpty());
}

bool TestCollectionIndex::probeAgainstClean(const CollectionIndex &index)
{
    bool failed = false;
    const auto check = [&](bool same, const char *what) {
        if (same)
            return;
        failed = true;
        if (!index.damaged())
            QTest::qFail(qPrintable(u"a wrong %1 without the index marked damaged"_qs.arg(QLatin1String(what))), __FILE__, __LINE__);
    };
    for (const QStringList &group : m_probeGroups)
        for (const bool all : {true, false}) {
            const auto got = index.answer(all, group);
            const auto want = m_clean->answer(all, group);
            check(got && got->ordinals == want->ordinals && got->exact == want->exact, "answer");
        }
    for (std::uint32_t i = 0; i < m_clean->recordCount(); ++i) {
        check(index.rowid(i) == m_clean->rowid(i), "row id");
        check(index.subject(i) == m_clean->subject(i), "subject");
        check(index.htm(i) == m_clean->htm(i), "page path");
    }
    Roaring every;
    every.addRange(0, m_clean->recordCount());
    check(index.inRowidOrder(every) == m_clean->inRowidOrder(every), "row id order");
    return failed;
}

void TestCollectionIndex::damagedFileNeverAnswersWrongly_data()
{
    QTest::addColumn<QString>("section");
    QTest::addColumn<bool>("mustNotice");
    QTest::newRow("header: stamp") << u"stamp"_qs << true;
    QTest::newRow("header: layout") << u"layout"_qs << true;
    QTest::newRow("header: database path") << u"path"_qs << true;
    QTest::newRow("header: unused space") << u"unused"_qs << false;
    QTest::newRow("postings") << u"postings"_qs << true;
    QTest::newRow("key table") << u"keys"_qs << true;
    QTest::newRow("key offsets") << u"offsets"_qs << true;
    QTest::newRow("catalogue: row ids") << u"rowids"_qs << true;
    QTest::newRow("catalogue: row id order") << u"rowidOrder"_qs << true;
    QTest::newRow("catalogue: text offsets") << u"textOffsets"_qs << true;
    QTest::newRow("catalogue: titles and paths") << u"text"_qs << true;
    QTest::newRow("last byte of the data") << u"end"_qs << true;
    QTest::newRow("block checksums") << u"checksums"_qs << true;
}

void TestCollectionIndex::damagedFileNeverAnswersWrongly()
{
    QFETCH(QString, section);
    QFETCH(bool, mustNotice);
    const QString db = dbIn(m_corpus);
    const FileStamp stamp = FileStamp::of(db);
    const QString cleanPath = keptPath(m_keep, db);
    const QByteArray clean = readAll(cleanPath);
    auto reader = IndexFile::Reader::open(cleanPath, stamp);
    QVERIFY(reader.ok());
    const IndexFile::Layout l = reader.value()->layout();
    const std::map<QString, std::uint64_t> offsets{
        {u"stamp"_qs, 40}, {u"layout"_qs, 64 + 8}, {u"path"_qs, 177}, {u"unused"_qs, 30000},
        {u"postings"_qs, l.postingsAt + 3},
        {u"keys"_qs, l.keysAt + IndexFile::kDirectoryEntryBytes * (l.keys / IndexFile::kKeyGroup / 2) + 1},
        {u"offsets"_qs, l.groupsAt + l.groupBytes / 2}, {u"rowids"_qs, l.rowidsAt + 8 * 5},
        {u"rowidOrder"_qs, l.rowidOrderAt + 4 * 7}, {u"textOffsets"_qs, l.textOffsetsAt + 8 * 9},
        {u"text"_qs, l.textAt + 2 * 100}, {u"end"_qs, l.end - 1}, {u"checksums"_qs, l.end + 3}};
    const std::uint64_t at = offsets.at(section);
    QVERIFY(at < std::uint64_t(clean.size()));
    QByteArray damaged = clean;
    damaged[qsizetype(at)] = char(damaged[qsizetype(at)] ^ 0x10);

    const QString keep = freshFolder();
    const QString path = keptPath(keep, db);
    QVERIFY(writeAll(path, damaged));
    auto opened = CollectionIndex::open(path, stamp);
    if (opened.ok()) {
        const bool failed = probeAgainstClean(*opened.value());
        QCOMPARE(opened.value()->damaged(), failed);
        QVERIFY(failed || !mustNotice);
    }
    // Through the registry: searches give the scan's rows whatever the
    // damage, and a build on request puts a sound file in place.
    TermIndexRegistry registry(keep, IndexBuilding::OnRequest);
    const QString difference = differenceFromScan(db, registry);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    auto rebuilt = registry.buildNow(db);
    QVERIFY(rebuilt.ok());
    QVERIFY(rebuilt.value()->readsBackWhole());
    QVERIFY(!probeAgainstClean(*rebuilt.value()));
    QVERIFY(registry.indexFor(db));
}

void TestCollectionIndex::fileChangedUnderTheReader_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("cut to half") << u"half"_qs;
    QTest::newRow("cut to the header") << u"header"_qs;
    QTest::newRow("emptied") << u"empty"_qs;
    QTest::newRow("overwritten with garbage") << u"garbage"_qs;
    QTest::newRow("garbage after the header") << u"garbageTail"_qs;
}

void TestCollectionIndex::fileChangedUnderTheReader()
{
    // The same file (same inode) changed after it was opened: every read
    // of it afterwards fails cleanly or gives what it held, never a signal.
    QFETCH(QString, change);
    const QString db = dbIn(m_corpus);
    const QString keep = freshFolder();
    const QString path = keptPath(keep, db);
    const QByteArray clean = readAll(keptPath(m_keep, db));
    QVERIFY(writeAll(path, clean));
    TermIndexRegistry registry(keep, IndexBuilding::InBackground);
    const std::shared_ptr<const CollectionIndex> index = registry.indexFor(db);
    QVERIFY(index);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QRandomGenerator random(3);
    QByteArray garbage(clean.size(), '\0');
    for (char &c : garbage)
        c = char(random.bounded(256));
    if (change == u"half"_qs)
        QVERIFY(file.resize(clean.size() / 2));
    else if (change == u"header"_qs)
        QVERIFY(file.resize(qint64(IndexFile::kBlockBytes)));
    else if (change == u"empty"_qs)
        QVERIFY(file.resize(0));
    else if (change == u"garbage"_qs)
        QVERIFY(file.write(garbage) == garbage.size());
    else
        QVERIFY(file.seek(qint64(IndexFile::kBlockBytes)) && file.write(garbage.mid(qsizetype(IndexFile::kBlockBytes))) > 0);
    file.close();

    QVERIFY(probeAgainstClean(*index));
    QVERIFY(index->damaged());
    const QString difference = differenceFromScan(db, registry);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // The damaged file is dropped and built anew in the background.
    registry.indexFor(db);
    registry.waitUntilIdle();
    const auto rebuilt = registry.indexFor(db);
    QVERIFY(rebuilt && rebuilt != index);
    QVERIFY(!probeAgainstClean(*rebuilt));
}

void TestCollectionIndex::keptIndexIsReusedWithoutABuild()
{
    const QString db = dbIn(m_corpus);
    const QString kept = keptPath(m_keep, db);
    const FileIdentity before = identityOf(kept);
    QVERIFY(before.inode != 0);
    // As at a later start: the kept file is opened at the very first search,
    // with no worker to wait for.
    TermIndexRegistry later(m_keep, IndexBuilding::InBackground);
    const auto index = later.indexFor(db);
    QVERIFY(index);
    QVERIFY(!probeAgainstClean(*index));
    later.waitUntilIdle();
    QCOMPARE(identityOf(kept), before);
    // A short-lived process finds it as well.
    TermIndexRegistry onRequest(m_keep, IndexBuilding::OnRequest);
    QVERIFY(onRequest.indexFor(db));
    const QString difference = differenceFromScan(db, onRequest);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCollectionIndex::buildNowRebuildsOnlyWhatDoesNotFit()
{
    const QString db = dbIn(m_corpus);
    const QString keep = freshFolder();
    const QString kept = keptPath(keep, db);
    const QByteArray clean = readAll(keptPath(m_keep, db));
    QVERIFY(writeAll(kept, clean));
    const FileIdentity before = identityOf(kept);
    TermIndexRegistry registry(keep, IndexBuilding::OnRequest);
    QVERIFY(registry.buildNow(db).ok());
    QCOMPARE(identityOf(kept), before); // read back whole, kept as it was
    QCOMPARE(readAll(kept), clean);

    // One byte changed deep in the postings, where opening does not look.
    QByteArray damaged = clean;
    const qsizetype at = qsizetype(IndexFile::kBlockBytes) + 1000;
    damaged[at] = char(damaged[at] ^ 1);
    QVERIFY(writeAll(kept, damaged));
    const FileIdentity damagedFile = identityOf(kept);
    TermIndexRegistry again(keep, IndexBuilding::OnRequest);
    auto rebuilt = again.buildNow(db);
    QVERIFY(rebuilt.ok());
    QVERIFY(identityOf(kept).inode != damagedFile.inode); // written anew and put in place
    QCOMPARE(readAll(kept).at(at), clean.at(at));
    QVERIFY(rebuilt.value()->readsBackWhole());
    QVERIFY(!probeAgainstClean(*rebuilt.value()));
}

void TestCollectionIndex::changedDatabaseGetsNoOldIndex()
{
    const QString folder = freshFolder();
    const QString keep = folder + u"/tmp"_qs;
    const QString db = dbIn(folder);
    QVERIFY(writeContents(folder, {u"發熱"_qs}));
    TermIndexRegistry registry(keep, IndexBuilding::OnRequest);
    QVERIFY(registry.buildNow(db).ok());
    QVERIFY(registry.indexFor(db)->answer(true, {u"%頭痛%"_qs})->ordinals.isEmpty());

    QVERIFY(writeContents(folder, {u"發熱"_qs, u"頭痛"_qs, u"頭痛又發熱"_qs}));
    QVERIFY(!registry.indexFor(db)); // the old index no longer answers, and none is built
    QVERIFY(!TermIndexRegistry(keep, IndexBuilding::OnRequest).indexFor(db));
    QVERIFY(registry.buildNow(db).ok());
    const auto index = registry.indexFor(db);
    QVERIFY(index);
    QCOMPARE(index->answer(true, {u"%頭痛%"_qs})->ordinals.cardinality(), std::uint64_t(2));

    // In the background: the first search scans, a later one has the index.
    QVERIFY(writeContents(folder, {u"頭痛"_qs}));
    TermIndexRegistry background(keep, IndexBuilding::InBackground);
    QVERIFY(!background.indexFor(db));
    background.waitUntilIdle();
    QVERIFY(background.indexFor(db));
    QCOMPARE(background.indexFor(db)->recordCount(), std::size_t(1));
    const QString difference = differenceFromScan(db, background);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestCollectionIndex::rewrittenInPlaceWithOldTimeGetsNoOldIndex()
{
    // Same size, same modification time, same inode: only the bytes differ.
    const QString folder = freshFolder(), other = freshFolder();
    const QString db = dbIn(folder);
    QVERIFY(writeContents(folder, {u"發熱"_qs, u"頭痛"_qs}));
    QVERIFY(writeContents(other, {u"頭痛"_qs, u"發熱"_qs}));
    const QByteArray replacement = readAll(dbIn(other));
    QCOMPARE(replacement.size(), readAll(db).size());
    TermIndexRegistry registry(folder + u"/tmp"_qs, IndexBuilding::OnRequest);
    QVERIFY(registry.buildNow(db).ok());
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(db).constData(), &st), 0);
    QFile file(db);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.write(replacement) == replacement.size());
    file.close();
    const struct timespec times[2] = {st.st_atim, st.st_mtim};
    QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(db).constData(), times, 0), 0);

    QVERIFY(!registry.indexFor(db));
    QVERIFY(!TermIndexRegistry(folder + u"/tmp"_qs, IndexBuilding::OnRequest).indexFor(db));
    const DatabaseLocation location{db, QString()};
    const auto rows = ContentDatabase::runStatement(location, buildQuery(u"發熱"_qs).SqlText, &registry);
    QVERIFY(rows.ok());
    QCOMPARE(rows.value().size(), std::size_t(1));
    QCOMPARE(rows.value().front().subject, u"s1"_qs);
}

void TestCollectionIndex::pendingWritesGetNoIndex()
{
    const QString folder = freshFolder();
    const QString db = dbIn(folder);
    const QString keep = folder + u"/tmp"_qs;
    QVERIFY(writeContents(folder, {u"發熱"_qs, u"之"_qs}));
    {
        sqlite3 *raw = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &raw), SQLITE_OK);
        QVERIFY(IndexCorpus::execute(raw, "PRAGMA journal_mode=WAL"));
        sqlite3_close(raw); // checkpointed: the -wal file is gone
    }
    QVERIFY(!hasPendingWrites(db));
    TermIndexRegistry registry(keep, IndexBuilding::OnRequest);
    QVERIFY(registry.buildNow(db).ok());
    QVERIFY(registry.indexFor(db));
    const FileStamp before = FileStamp::of(db);

    // A writer commits a row into the -wal file and stays open.
    sqlite3 *writer = nullptr;
    QCOMPARE(sqlite3_open(QFile::encodeName(db).constData(), &writer), SQLITE_OK);
    QVERIFY(IndexCorpus::execute(writer, "PRAGMA wal_autocheckpoint=0"));
    QVERIFY(IndexCorpus::execute(writer, "INSERT INTO maindata VALUES('new', 'new.htm', '又發熱', 'd')"));
    QCOMPARE(FileStamp::of(db), before); // jst.mdb itself did not change
    QVERIFY(hasPendingWrites(db));
    QVERIFY(!registry.indexFor(db));
    QVERIFY(!registry.buildNow(db).ok());
    const DatabaseLocation location{db, keep};
    const auto rows = ContentDatabase::runStatement(location, buildQuery(u"發熱"_qs).SqlText, &registry);
    QVERIFY(rows.ok());
    QCOMPARE(rows.value().size(), std::size_t(2));
    QCOMPARE(ContentDatabase::runStatement(location, buildQuery(u"發"_qs).SqlText, &registry).value().size(), std::size_t(2));
    sqlite3_close(writer);

    // A rollback journal beside the file counts too; an empty one does not.
    QVERIFY(!hasPendingWrites(db));
    QVERIFY(registry.buildNow(db).ok());
    QVERIFY(registry.indexFor(db));
    QVERIFY(writeAll(db + u"-journal"_qs, QByteArray(512, 'j')));
    QVERIFY(hasPendingWrites(db));
    QVERIFY(!registry.indexFor(db));
    QVERIFY(writeAll(db + u"-journal"_qs, QByteArray()));
    QVERIFY(writeAll(db + u"-wal"_qs, QByteArray()));
    QVERIFY(!hasPendingWrites(db));
    QVERIFY(registry.indexFor(db));
}

void TestCollectionIndex::columnsNamedLikeTheRowId_data()
{
    QTest::addColumn<QByteArray>("create");
    QTest::addColumn<QByteArray>("first"); // the column that gets the odd values
    QTest::addColumn<bool>("indexed");
    QTest::newRow("column rowid") << QByteArray("CREATE TABLE maindata(rowid, subject, htm, content, date)") << QByteArray("rowid") << true;
    QTest::newRow("columns oid and rowid") << QByteArray("CREATE TABLE maindata(oid, subject, htm, content, date, rowid DEFAULT 1)") << QByteArray("oid") << true;
    QTest::newRow("rowid as integer primary key") << QByteArray("CREATE TABLE maindata(rowid INTEGER PRIMARY KEY, subject, htm, content, date)") << QByteArray("rowid") << true;
    QTest::newRow("column _rowid_") << QByteArray("CREATE TABLE maindata(_rowid_, subject, htm, content, date)") << QByteArray("_rowid_") << false;
    QTest::newRow("column _ROWID_") << QByteArray("CREATE TABLE maindata(_ROWID_ TEXT, subject, htm, content, date)") << QByteArray("_ROWID_") << false;
    QTest::newRow("without row ids") << QByteArray("CREATE TABLE maindata(k, subject, htm, content, date, PRIMARY KEY(subject, htm)) WITHOUT ROWID") << QByteArray("k") << false;
}

void TestCollectionIndex::columnsNamedLikeTheRowId()
{
    // The first column holds values unrelated to SQLite's row ids: repeated,
    // negative, text and NULL (unique negatives where it is the row id).
    QFETCH(QByteArray, create);
    QFETCH(QByteArray, first);
    QFETCH(bool, indexed);
    using IndexCorpus::Cell;
    const bool primary = create.contains("PRIMARY KEY,");
    const QStringList contents{u"發熱"_qs, u"頭痛"_qs, u"發熱惡寒"_qs, u"之"_qs, u"Kat"_qs, u"it's"_qs, u"ß發"_qs, QString()};
    IndexCorpus::Rows rows;
    for (int r = 0; r < int(contents.size()); ++r) {
        const Cell first = primary ? Cell::number(-5 * r - 3)
            : r % 3 == 0 ? Cell::number(7) : r % 3 == 1 ? Cell::text(u"x"_qs) : r == 2 ? Cell::null() : Cell::number(-r);
        rows.push_back({first, Cell::text(u"s%1"_qs.arg(r)), Cell::text(u"h%1"_qs.arg(r)),
                        contents[r].isNull() ? Cell::null() : Cell::text(contents[r]), Cell::text(u"d%1"_qs.arg(r % 2))});
    }
    const QString folder = freshFolder();
    const QString db = dbIn(folder);
    const QByteArray insert = "INSERT INTO maindata(" + first + ", subject, htm, content, date) VALUES(?1,?2,?3,?4,?5)";
    QVERIFY(IndexCorpus::writeTable(db, create.constData(), insert.constData(), rows));
    TermIndexRegistry registry(folder + u"/tmp"_qs, IndexBuilding::OnRequest);
    QCOMPARE(registry.buildNow(db).ok(), indexed);
    const auto index = registry.indexFor(db);
    QCOMPARE(bool(index), indexed);
    const QString difference = differenceFromScan(db, registry);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    if (index) {
        const auto jet = translateJetStatement(buildQuery(u"發熱"_qs).SqlText);
        const auto direct = answerFromIndex(index, jet.value(), db, readOnlyOpener(db));
        QVERIFY(direct && direct->ok());
        QCOMPARE(direct->value().size(), std::size_t(2));
        const auto confirmed = answerFromIndex(index, translateJetStatement(buildQuery(u"發熱惡"_qs).SqlText).value(), db, readOnlyOpener(db));
        QVERIFY(confirmed && confirmed->ok());
        QCOMPARE(confirmed->value().size(), std::size_t(1));
        QCOMPARE(confirmed->value().front().subject, u"s2"_qs);
    }
}

void TestCollectionIndex::keepFolderThatCannotBeMade()
{
    // A tmp "folder" below an ordinary file can never be made, even by root.
    const QString blocker = freshFolder() + u"/program"_qs;
    QVERIFY(writeAll(blocker, "x"));
    const QString db = dbIn(m_corpus);
    TermIndexRegistry onRequest(blocker + u"/tmp"_qs, IndexBuilding::OnRequest);
    QVERIFY(!onRequest.buildNow(db).ok());
    QVERIFY(!onRequest.indexFor(db));
    QString difference = differenceFromScan(db, onRequest);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    TermIndexRegistry background(blocker + u"/tmp"_qs, IndexBuilding::InBackground);
    QVERIFY(!background.indexFor(db));
    background.waitUntilIdle();
    QVERIFY(!background.indexFor(db));
    background.waitUntilIdle();
    difference = differenceFromScan(db, background);
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    QVERIFY(!QFileInfo::exists(blocker + u"/tmp"_qs));
}

QTEST_GUILESS_MAIN(TestCollectionIndex)
#include "test_collectionindex.moc"
