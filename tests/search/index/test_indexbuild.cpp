// The index build against a naive reference on real SQLite files: record
// order and texts of the catalogue, the postings of every key, whatever the
// threads, the memory budget (spilling to scratch files) and the source;
// refusals, cancelling and failures that must not end the program.

#include "indexbuild.h"
#include "indexcorpus.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <sqlite3.h>

#include <map>
#include <new>
#include <set>

using RowIds = std::vector<qint64>;
Q_DECLARE_METATYPE(RowIds)

namespace {

using Postings = std::map<TextKeys::Key, std::vector<std::uint32_t>>;

// Keeps what the build hands over and checks the sink's contract.
class CollectingSink : public PostingSink {
public:
    bool add(TextKeys::Key key, const std::uint32_t *ordinals, std::size_t count) override
    {
        if (count == 0 || (!postings.empty() && key <= postings.rbegin()->first))
            contractBroken = true;
        for (std::size_t i = 1; i < count; ++i)
            if (ordinals[i] <= ordinals[i - 1])
                contractBroken = true;
        postings[key].assign(ordinals, ordinals + count);
        return accept;
    }
    Postings postings;
    bool contractBroken = false;
    bool accept = true;
};

bool exec(sqlite3 *db, const QString &sql)
{
    return sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

bool writeDatabase(const QString &path, const QString &sql)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(path).constData(), &db) == SQLITE_OK && exec(db, sql);
    if (!ok)
        qWarning("%s", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

// Every key of every record, one record after the other in the order of
// the list statement, the slow and obvious way.
Postings naivePostings(sqlite3 *db)
{
    Postings out;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT content FROM maindata ORDER BY date DESC, _rowid_", -1, &stmt, nullptr);
    for (std::uint32_t ordinal = 0; sqlite3_step(stmt) == SQLITE_ROW; ++ordinal) {
        if (sqlite3_column_type(stmt, 0) == SQLITE_NULL)
            continue;
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        const std::string_view value(text ? text : "", std::size_t(sqlite3_column_bytes(stmt, 0)));
        std::set<TextKeys::Key> keys{TextKeys::kContentKey};
        std::u32string folded;
        TextKeys::forEachFolded(value, [&](char32_t c) { folded.push_back(c); });
        for (std::size_t i = 0; i < folded.size(); ++i) {
            keys.insert(TextKeys::unigram(folded[i]));
            if (i > 0)
                keys.insert(TextKeys::bigram(folded[i - 1], folded[i]));
        }
        for (const TextKeys::Key key : keys)
            out[key].push_back(ordinal);
    }
    sqlite3_finalize(stmt);
    return out;
}

struct Reference {
    RowIds rowids;
    QStringList subjects;
    QStringList htms;
    Postings postings;
};

Reference referenceOf(sqlite3 *db)
{
    Reference ref;
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT _rowid_, subject, htm FROM maindata ORDER BY date DESC, _rowid_", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        ref.rowids.push_back(sqlite3_column_int64(stmt, 0));
        for (int column : {1, 2}) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
            (column == 1 ? ref.subjects : ref.htms) << QString::fromUtf8(text, sqlite3_column_bytes(stmt, column));
        }
    }
    sqlite3_finalize(stmt);
    ref.postings = naivePostings(db);
    return ref;
}

Reference referenceOf(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    Reference ref = referenceOf(db);
    sqlite3_close(db);
    return ref;
}

QString textAt(const CatalogueData &data, std::size_t part)
{
    return QString(reinterpret_cast<const QChar *>(data.text.data() + data.offsets[part]),
                   qsizetype(data.offsets[part + 1] - data.offsets[part]));
}

// Compares a build with the reference; the first difference as a message.
QString difference(const CatalogueData &data, const CollectingSink &sink, const Reference &ref)
{
    if (sink.contractBroken)
        return u"keys out of order, an empty list or ordinals not ascending"_qs;
    if (RowIds(data.rowids.begin(), data.rowids.end()) != ref.rowids)
        return u"record order differs"_qs;
    if (data.offsets.size() != 2 * data.size() + 1)
        return u"offsets of the wrong size"_qs;
    for (std::size_t i = 0; i < data.size(); ++i)
        if (textAt(data, 2 * i) != ref.subjects.at(qsizetype(i)) || textAt(data, 2 * i + 1) != ref.htms.at(qsizetype(i)))
            return u"texts of ordinal %1 differ"_qs.arg(i);
    for (const auto &[key, ordinals] : ref.postings) {
        const auto at = sink.postings.find(key);
        if (at == sink.postings.end() || at->second != ordinals)
            return u"postings of key %1 differ"_qs.arg(key, 0, 16);
    }
    if (sink.postings.size() != ref.postings.size())
        return u"%1 keys where %2 are expected"_qs.arg(sink.postings.size()).arg(ref.postings.size());
    return {};
}

// Files this process holds open in folder, named or not (a scratch file
// may have no name at all).
int openFilesIn(const QString &folder)
{
    int count = 0;
    const QDir fds(u"/proc/self/fd"_qs);
    for (const QString &fd : fds.entryList(QDir::Files | QDir::System))
        count += QFile::symLinkTarget(fds.filePath(fd)).startsWith(folder + u'/') ? 1 : 0;
    return count;
}

const char *kTable = "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT);";

// A record long enough to fill several sort batches on its own.
QString longRecordSql(qint64 rowid)
{
    return u"INSERT INTO maindata(rowid, subject, htm, content, date) VALUES(%1, 'long', 'l.htm', "
           "(WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) "
           "SELECT group_concat(char(19968 + (i * 7919) % 300) || char(65 + i % 26), '') FROM n), '2000-01-02');"_qs.arg(rowid);
}
}

class TestIndexBuild : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }

    void matchesNaiveReference_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<RowIds>("order");
        const QString table = QString::fromUtf8(kTable);
        QTest::addRow("cjk, case variants, null and empty, equal dates")
            << table + u"INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
                       "(1, '發熱', 'a.htm', '發熱頭痛，惡寒。發熱', '2001-01-01'),"
                       "(2, 'Kt', NULL, 'Kt KT kt \u212At ß Σσς', '2001-01-01'),"
                       "(3, NULL, 'c.htm', NULL, '2002-01-01'),"
                       "(4, '空', 'd.htm', '', '2001-01-01'),"
                       "(5, '\U0002000B', 'e.htm', '\U0002000B\U0002000B之', '2000-01-01');"_qs
            << RowIds{3, 1, 2, 4, 5};
        QTest::addRow("invalid utf-8 as blob and as text")
            << table + u"INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
                       "(1, 's', 'h', x'FF41C3', 'd'),"
                       "(2, 's', 'h', CAST(x'E4B8E799BC' AS TEXT), 'd'),"
                       "(3, 's', 'h', x'', 'd'),"
                       "(4, CAST(x'C0AF' AS TEXT), 'h', 12.5, 'd');"_qs
            << RowIds{1, 2, 3, 4};
        QTest::addRow("negative and sparse rowids")
            << table + u"INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
                       "(9000000000000, 's', 'h', '甲乙', 'd'), (-5, 's', 'h', '乙丙', 'd'),"
                       "(7, 's', 'h', '甲', 'e'), (-9000000000000, 's', 'h', '丙甲', 'd');"_qs
            << RowIds{7, -9000000000000, -5, 9000000000000};
        QTest::addRow("a column named rowid")
            << u"CREATE TABLE maindata(rowid TEXT, subject TEXT, htm TEXT, content TEXT, date TEXT);"
               "INSERT INTO maindata(_rowid_, rowid, subject, htm, content, date) VALUES"
               "(10, 'z', 's', 'h', '發熱', 'd'), (20, 'a', 's', 'h', '熱發', 'd'), (5, '99', 's', 'h', '發', 'c');"_qs
            << RowIds{10, 20, 5};
        QTest::addRow("sql index on date, ties")
            << table + u"CREATE INDEX bydate ON maindata(date);"
                       "INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
                       "(4, 's', 'h', '甲', 'x'), (2, 's', 'h', '乙', 'x'), (3, 's', 'h', '丙', 'y'), (1, 's', 'h', '丁', 'x');"_qs
            << RowIds{3, 1, 2, 4};
        QTest::addRow("mixed date types")
            << u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date);"
               "INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
               "(1, 's', 'h', 'a', 20), (2, 's', 'h', 'b', '2001'), (3, 's', 'h', 'c', NULL),"
                       "(4, 's', 'h', 'd', 3.5), (5, 's', 'h', 'e', x'00'), (6, 's', 'h', 'f', '10');"_qs
            << RowIds{5, 2, 6, 1, 4, 3};
        QTest::addRow("no records") << table << RowIds{};
        QTest::addRow("one record longer than a batch")
            << table + longRecordSql(3) + u"INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
                                          "(1, 's', 'h', '一AB', '2000-01-01'), (2, 's', 'h', '一', '2000-01-03');"_qs
            << RowIds{2, 3, 1};
    }

    // Each case built four ways: one or two threads, everything in memory
    // or a tiny budget that sends every run to a scratch file.
    void matchesNaiveReference()
    {
        QFETCH(QString, sql);
        QFETCH(RowIds, order);
        const QString path = m_dir.filePath(u"jst.mdb"_qs);
        QVERIFY(writeDatabase(path, sql));
        const Reference ref = referenceOf(path);
        QCOMPARE(ref.rowids, order);
        for (const int threads : {1, 2}) {
            for (const bool tiny : {false, true}) {
                CollectingSink sink;
                BuildOptions options;
                options.threads = threads;
                if (tiny) {
                    options.memoryBudget = 1 << 16;
                    options.scratchFolder = m_dir.filePath(u"scratch"_qs);
                    QVERIFY(QDir().mkpath(options.scratchFolder));
                }
                const auto built = buildIndex(IndexSource{path, nullptr}, sink, options);
                QVERIFY2(built.ok(), qPrintable(built.failure().description));
                const QString diff = difference(built.value(), sink, ref);
                QVERIFY2(diff.isEmpty(), qPrintable(u"threads %1, tiny budget %2: %3"_qs.arg(threads).arg(tiny).arg(diff)));
            }
        }
    }

    // Thousands of records over many batches: spilled runs are really
    // written and gone afterwards, and the threads do not change a bit.
    void largeCollectionSpillsAndAgrees()
    {
        QVERIFY(IndexCorpus::writeCorpus(m_dir.path(), 4000, 7, 13));
        const QString path = m_dir.filePath(u"jst.mdb"_qs);
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        QVERIFY(exec(db, longRecordSql(100000)));
        sqlite3_close(db);
        const Reference ref = referenceOf(path);
        const QString scratch = m_dir.filePath(u"scratch"_qs);
        QVERIFY(QDir().mkpath(scratch));
        std::vector<Postings> results;
        for (const int threads : {1, 2, 3}) {
            CollectingSink sink;
            BuildOptions options;
            options.threads = threads;
            options.memoryBudget = 1 << 20;
            options.scratchFolder = scratch;
            int sawScratchFile = 0;
            BuildProgress last;
            options.progress = [&](const BuildProgress &p) {
                sawScratchFile += openFilesIn(scratch);
                last = p;
            };
            const auto built = buildIndex(IndexSource{path, nullptr}, sink, options);
            QVERIFY2(built.ok(), qPrintable(built.failure().description));
            QVERIFY2(difference(built.value(), sink, ref).isEmpty(), qPrintable(difference(built.value(), sink, ref)));
            QVERIFY(sawScratchFile > 0);
            QVERIFY(QDir(scratch).entryList(QDir::Files | QDir::Hidden).isEmpty());
            QCOMPARE(openFilesIn(scratch), 0);
            QCOMPARE(last.recordsDone, std::uint64_t(ref.rowids.size()));
            QCOMPARE(last.recordsTotal, std::uint64_t(ref.rowids.size()));
            QCOMPARE(last.contentBytesDone, built->contentBytes);
            QVERIFY(built->contentBytes > 80000);
            results.push_back(std::move(sink.postings));
        }
        QVERIFY(results[0] == results[1] && results[1] == results[2]);
    }

    void refusesTablesWithoutOwnRowIds_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addRow("a column named _rowid_")
            << u"CREATE TABLE maindata(_rowid_ INTEGER, subject TEXT, htm TEXT, content TEXT, date TEXT);"
               "INSERT INTO maindata VALUES(1, 's', 'h', 'c', 'd');"_qs;
        QTest::addRow("a column named _ROWID_")
            << u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT, _ROWID_ TEXT);"_qs;
        QTest::addRow("without rowid")
            << u"CREATE TABLE maindata(subject TEXT PRIMARY KEY, htm TEXT, content TEXT, date TEXT) WITHOUT ROWID;"_qs;
        QTest::addRow("no maindata") << u"CREATE TABLE other(subject TEXT);"_qs;
        QTest::addRow("no date column") << u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT);"_qs;
    }

    void refusesTablesWithoutOwnRowIds()
    {
        QFETCH(QString, sql);
        const QString path = m_dir.filePath(u"jst.mdb"_qs);
        QVERIFY(writeDatabase(path, sql));
        CollectingSink sink;
        const auto built = buildIndex(IndexSource{path, nullptr}, sink, BuildOptions{});
        QVERIFY(!built.ok());
        QVERIFY(sink.postings.empty());
        QVERIFY(!built.failure().description.isEmpty());
    }

    void missingFileFails()
    {
        CollectingSink sink;
        QVERIFY(!buildIndex(IndexSource{m_dir.filePath(u"none.mdb"_qs), nullptr}, sink, BuildOptions{}).ok());
    }

    // Cancelling from the first progress report stops the build before it
    // hands anything to the sink, and leaves no scratch file behind.
    void cancelStopsSoon()
    {
        QVERIFY(IndexCorpus::writeCorpus(m_dir.path(), 3000, 5, 3));
        const QString scratch = m_dir.filePath(u"scratch"_qs);
        QVERIFY(QDir().mkpath(scratch));
        for (const int threads : {1, 2}) {
            std::atomic<bool> cancel{false};
            int reports = 0;
            BuildOptions options;
            options.threads = threads;
            options.cancel = &cancel;
            options.memoryBudget = 1 << 16;
            options.scratchFolder = scratch;
            options.progress = [&](const BuildProgress &) {
                ++reports;
                cancel = true;
            };
            CollectingSink sink;
            const auto built = buildIndex(IndexSource{m_dir.filePath(u"jst.mdb"_qs), nullptr}, sink, options);
            QVERIFY(!built.ok());
            QVERIFY(built.failure().description.contains(u"cancelled"_qs));
            QVERIFY(sink.postings.empty());
            QVERIFY(reports <= threads);
            QVERIFY(QDir(scratch).entryList(QDir::Files | QDir::Hidden).isEmpty());
            QCOMPARE(openFilesIn(scratch), 0);
        }
        // Cancelled before a record is read: SQLite's sort is interrupted.
        const std::atomic<bool> already{true};
        BuildOptions options;
        options.cancel = &already;
        CollectingSink sink;
        const auto built = buildIndex(IndexSource{m_dir.filePath(u"jst.mdb"_qs), nullptr}, sink, options);
        QVERIFY(!built.ok());
        QVERIFY(built.failure().description.contains(u"cancelled"_qs));
    }

    // Out of memory in a building thread or in the merge, and a sink that
    // cannot keep the postings, runs that cannot be spilled: the build fails,
    // the program goes on.
    void failuresAreValues()
    {
        QVERIFY(IndexCorpus::writeCorpus(m_dir.path(), 500, 5, 4));
        const IndexSource source{m_dir.filePath(u"jst.mdb"_qs), nullptr};
        for (const int threads : {1, 2}) {
            BuildOptions options;
            options.threads = threads;
            options.progress = [](const BuildProgress &) { throw std::bad_alloc(); };
            CollectingSink sink;
            const auto built = buildIndex(source, sink, options);
            QVERIFY(!built.ok());
            QVERIFY(built.failure().description.contains(u"out of memory"_qs));
        }
        BuildOptions nowhere;
        nowhere.memoryBudget = 1 << 16;
        nowhere.scratchFolder = m_dir.filePath(u"no/such/folder"_qs);
        CollectingSink unused;
        const auto unspilled = buildIndex(source, unused, nowhere);
        QVERIFY(!unspilled.ok());
        QVERIFY(unspilled.failure().description.contains(u"scratch"_qs));
        class ThrowingSink : public PostingSink {
            bool add(TextKeys::Key, const std::uint32_t *, std::size_t) override { throw std::bad_alloc(); }
        } throwing;
        QVERIFY(!buildIndex(source, throwing, BuildOptions{}).ok());
        CollectingSink refusing;
        refusing.accept = false;
        const auto refused = buildIndex(source, refusing, BuildOptions{});
        QVERIFY(!refused.ok());
        QCOMPARE(refusing.postings.size(), std::size_t(1));
    }

    // An open in-memory connection (a Jet file's copy) is read on the
    // calling thread, whatever the threads asked for.
    void openConnectionSource()
    {
        sqlite3 *db = nullptr;
        QCOMPARE(sqlite3_open(":memory:", &db), SQLITE_OK);
        QVERIFY(exec(db, QString::fromUtf8(kTable) + longRecordSql(7) +
                             u"INSERT INTO maindata(rowid, subject, htm, content, date) VALUES"
                             "(1, '甲', 'a', '發熱', '2000-01-05'), (2, '乙', 'b', NULL, '2000-01-05'), (3, '丙', 'c', 'Kk', '2000-01-09');"_qs));
        const Reference ref = referenceOf(db);
        for (const bool tiny : {false, true}) {
            BuildOptions options;
            options.threads = 2;
            if (tiny) {
                options.memoryBudget = 1 << 16;
                options.scratchFolder = m_dir.path();
            }
            CollectingSink sink;
            const auto built = buildIndex(IndexSource{QString(), db}, sink, options);
            QVERIFY2(built.ok(), qPrintable(built.failure().description));
            QVERIFY2(difference(built.value(), sink, ref).isEmpty(), qPrintable(difference(built.value(), sink, ref)));
        }
        sqlite3_close(db);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_GUILESS_MAIN(TestIndexBuild)
#include "test_indexbuild.moc"
