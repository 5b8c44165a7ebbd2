// The term index's parts: literal runs of patterns, candidates against the
// rows themselves, builds over several rowid ranges, and the kept file
// (kept, reused, rebuilt after a change, refused when damaged, and no keeping
// at all in a folder that cannot be written).

#include "indexcorpus.h"
#include "likeliterals.h"
#include "termindex.h"
#include "termindexbuild.h"
#include "termindexfile.h"
#include "termindexregistry.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <thread>

using Runs = std::vector<std::u32string>;
Q_DECLARE_METATYPE(Runs)

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

TermIndex buildIndex(const QString &folder, int threads = 2)
{
    const std::atomic<bool> cancel{false};
    auto table = buildPostings(folder + u"/jst.mdb"_qs, cancel, threads);
    return TermIndex(table.ok() ? std::move(table).value() : PostingTable());
}

bool writeRows(const QString &folder, const std::vector<std::pair<qint64, QString>> &rows)
{
    const QString path = folder + u"/jst.mdb"_qs;
    QFile::remove(path);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    bool ok = sqlite3_exec(db, "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)", nullptr, nullptr, nullptr) == SQLITE_OK;
    for (const auto &[rowid, content] : rows) {
        sqlite3_stmt *insert = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO maindata(rowid, subject, htm, content, date) VALUES(?, 's', 'h', ?, 'd')", -1, &insert, nullptr);
        const QByteArray bytes = content.toUtf8();
        sqlite3_bind_int64(insert, 1, rowid);
        sqlite3_bind_text(insert, 2, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
        ok = ok && sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_finalize(insert);
    }
    sqlite3_close(db);
    return ok;
}
}

class TestTermIndex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void literalRunsOfPatterns_data();
    void literalRunsOfPatterns();
    void candidatesOfPairsAreExactlyTheRows();
    void candidatesKeepEveryCaseVariant();
    void groupsWithUnfilterablePatterns();
    void buildOverRangesIsTheSame();
    void keptIndexIsReused();
    void changedDatabaseIsIndexedAgain();
    void damagedKeptFileIsBuiltAgain();
    void unwritableFolderStillGivesAnIndex();

private:
    QString freshFolder();
    QString keptFile(const QString &folder, const QString &keep) const;

    QTemporaryDir m_root;
    QString m_corpus;
    int m_folders = 0;
};

void TestTermIndex::initTestCase()
{
    QVERIFY(m_root.isValid());
    m_corpus = freshFolder();
    QVERIFY(IndexCorpus::writeCorpus(m_corpus, 3000, 5, 7));
}

QString TestTermIndex::freshFolder()
{
    const QString folder = m_root.filePath(QString::number(++m_folders));
    QDir().mkpath(folder);
    return folder;
}

QString TestTermIndex::keptFile(const QString &folder, const QString &keep) const
{
    return keep + QLatin1Char('/') + TermIndexFile::fileNameFor(DatabaseStamp::of(folder + u"/jst.mdb"_qs));
}

void TestTermIndex::literalRunsOfPatterns_data()
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
}

void TestTermIndex::literalRunsOfPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(Runs, runs);
    QVERIFY(literalRuns(pattern) == runs);
}

void TestTermIndex::candidatesOfPairsAreExactlyTheRows()
{
    // One or two caseless characters: the postings are the answer itself.
    const TermIndex index = buildIndex(m_corpus);
    const QStringList contents = IndexCorpus::contents(m_corpus);
    for (const QString term : {u"發熱"_qs, u"之"_qs, u"，\U0002000B"_qs, u"'!"_qs, u"\t1"_qs, u"1-"_qs}) {
        RowSet expected;
        for (qsizetype r = 0; r < contents.size(); ++r)
            if (!contents[r].isNull() && contents[r].contains(term))
                expected.push_back(r + 1);
        QVERIFY(!expected.empty());
        const std::optional<RowSet> rows = index.patternCandidates(u"%"_qs + term + u"%"_qs);
        QVERIFY2(rows && *rows == expected, term.toUtf8().constData());
    }
}

void TestTermIndex::candidatesKeepEveryCaseVariant()
{
    const TermIndex index = buildIndex(m_corpus);
    const QStringList contents = IndexCorpus::contents(m_corpus);
    const std::optional<RowSet> rows = index.patternCandidates(u"%k%"_qs);
    QVERIFY(rows);
    for (qsizetype r = 0; r < contents.size(); ++r) {
        const QString &c = contents[r];
        if (c.contains(u"k"_qs) || c.contains(u"K"_qs) || c.contains(u"\u212A"_qs))
            QVERIFY(RowSets::contains(*rows, r + 1));
    }
}

void TestTermIndex::groupsWithUnfilterablePatterns()
{
    const TermIndex index = buildIndex(m_corpus);
    const RowSet heat = *index.patternCandidates(u"%發熱%"_qs);
    // All terms: an empty term filters nothing, the others still do.
    QCOMPARE(*index.groupCandidates(true, {u"%%"_qs, u"%發熱%"_qs}), heat);
    QVERIFY(!index.groupCandidates(true, {u"%%"_qs, u"%_%"_qs}));
    // Any term: one pattern that filters nothing lets every row through.
    QVERIFY(!index.groupCandidates(false, {u"%發熱%"_qs, u"%%"_qs}));
    const RowSet either = *index.groupCandidates(false, {u"%發熱%"_qs, u"%頭痛%"_qs});
    QVERIFY(either.size() > heat.size());
    QVERIFY(index.groupCandidates(true, {u"%發熱%"_qs, u"%不在此%"_qs})->empty());
}

void TestTermIndex::buildOverRangesIsTheSame()
{
    // Negative, zero and huge rowids, and ranges of one row or none.
    const QString folder = freshFolder();
    QVERIFY(writeRows(folder, {{-9, u"發熱甲"_qs}, {0, u"甲乙"_qs}, {3, u"發熱"_qs},
                               {Q_INT64_C(4611686018427387904), u"乙發"_qs}, {INT64_MAX, u"熱甲"_qs}}));
    const TermIndex one = buildIndex(folder, 1);
    for (const int threads : {2, 3, 7}) {
        const TermIndex many = buildIndex(folder, threads);
        QCOMPARE(many.table().keyCount(), one.table().keyCount());
        QCOMPARE(many.table().blobSize(), one.table().blobSize());
        for (std::size_t i = 0; i < one.table().keyCount(); ++i)
            QVERIFY(many.table().rows(i) == one.table().rows(i));
    }
    QVERIFY(*one.patternCandidates(u"%發熱%"_qs) == (RowSet{-9, 3}));
    QVERIFY(*one.patternCandidates(u"%甲%"_qs) == (RowSet{-9, 0, INT64_MAX}));
}

void TestTermIndex::keptIndexIsReused()
{
    TermIndexRegistry &registry = TermIndexRegistry::instance();
    registry.reset();
    const QString keep = freshFolder() + u"/tmp"_qs;
    const QString db = m_corpus + u"/jst.mdb"_qs;
    QVERIFY(!registry.indexFor(db, keep)); // never waits: the first search scans
    registry.waitUntilIdle();
    QVERIFY(registry.indexFor(db, keep));
    const QFileInfo kept(keptFile(m_corpus, keep));
    QVERIFY(kept.isFile());
    const QDateTime written = kept.lastModified();

    registry.reset(); // as at a later start
    QVERIFY(!registry.indexFor(db, keep));
    registry.waitUntilIdle();
    const auto index = registry.indexFor(db, keep);
    QVERIFY(index);
    QCOMPARE(QFileInfo(kept.filePath()).lastModified(), written);
    QCOMPARE(*index->patternCandidates(u"%發熱%"_qs), *buildIndex(m_corpus).patternCandidates(u"%發熱%"_qs));
}

void TestTermIndex::changedDatabaseIsIndexedAgain()
{
    TermIndexRegistry &registry = TermIndexRegistry::instance();
    registry.reset();
    const QString folder = freshFolder();
    const QString keep = folder + u"/tmp"_qs;
    const QString db = folder + u"/jst.mdb"_qs;
    QVERIFY(writeRows(folder, {{1, u"發熱"_qs}}));
    registry.indexFor(db, keep);
    registry.waitUntilIdle();
    QCOMPARE(registry.indexFor(db, keep)->patternCandidates(u"%頭痛%"_qs)->size(), std::size_t(0));

    QVERIFY(writeRows(folder, {{1, u"發熱"_qs}, {2, u"頭痛"_qs}, {3, u"頭痛又發熱"_qs}}));
    QVERIFY(!registry.indexFor(db, keep)); // the old index no longer answers
    registry.waitUntilIdle();
    const auto index = registry.indexFor(db, keep);
    QVERIFY(index);
    QVERIFY(*index->patternCandidates(u"%頭痛%"_qs) == (RowSet{2, 3}));
    QVERIFY(TermIndexFile::load(keptFile(folder, keep), DatabaseStamp::of(db)).ok());
}

void TestTermIndex::damagedKeptFileIsBuiltAgain()
{
    TermIndexRegistry &registry = TermIndexRegistry::instance();
    registry.reset();
    const QString keep = freshFolder() + u"/tmp"_qs;
    const QString db = m_corpus + u"/jst.mdb"_qs;
    registry.indexFor(db, keep);
    registry.waitUntilIdle();
    const QString kept = keptFile(m_corpus, keep);
    QFile file(kept);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.resize(file.size() / 2));
    file.close();
    QVERIFY(!TermIndexFile::load(kept, DatabaseStamp::of(db)).ok());

    registry.reset();
    registry.indexFor(db, keep);
    registry.waitUntilIdle();
    QVERIFY(registry.indexFor(db, keep));
    QVERIFY(TermIndexFile::load(kept, DatabaseStamp::of(db)).ok());
}

void TestTermIndex::unwritableFolderStillGivesAnIndex()
{
    // A tmp "folder" below an ordinary file can never be made, even by root.
    TermIndexRegistry &registry = TermIndexRegistry::instance();
    registry.reset();
    const QString blocker = freshFolder() + u"/program"_qs;
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    const QString db = m_corpus + u"/jst.mdb"_qs;
    registry.indexFor(db, blocker + u"/tmp"_qs);
    registry.waitUntilIdle();
    const auto index = registry.indexFor(db, blocker + u"/tmp"_qs);
    QVERIFY(index);
    QVERIFY(!index->patternCandidates(u"%發熱%"_qs)->empty());
    registry.reset();
}

QTEST_GUILESS_MAIN(TestTermIndex)
#include "test_termindex.moc"
