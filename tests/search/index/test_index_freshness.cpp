// The kept term index is never used for a file it was not made from. Each
// case keeps an index with `tamvex-cli index`, then changes the database or
// the index file the way copy tools, writers and accidents do, and a search
// must give exactly the rows, order and message of a scan of the file as it
// is now, and end normally.

#include "clicollection.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>

using namespace CliCollection;

namespace {

// Every query form over the corpus: list-all, all terms with and without the
// leading "-", any term, a frequent and a Latin term, and no result at all.
const QStringList Queries = {u""_qs, u"發熱"_qs, u"發熱 頭痛"_qs, u"-頭痛"_qs, u"+發熱 惡寒"_qs, u"脈浮"_qs,
                             u"abc"_qs, u"蠲痺"_qs};

// Compares every query's outcome in folder with a scan of reference.
#define COMPARE_WITH_SCAN(folder, reference)                                 \
    for (const QString &query : Queries)                                     \
        QCOMPARE(outcome((folder), query), outcome((reference), query))

enum class Rewrite { InPlace, Renamed, Recreated };
enum class Damage { FirstByte, HeaderByte, MiddleByte, LastByte, CutToHalf, Emptied, Garbage, Foreign };

struct stat statOf(const QString &path)
{
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return info;
}

// Puts back the access and modification times, to the nanosecond.
bool restoreTimes(const QString &path, const struct stat &before)
{
    const struct timespec times[2] = {before.st_atim, before.st_mtim};
    return ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0) == 0;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path); // an existing file is truncated and keeps its inode, as cp does
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// SQLite's file change counter (header bytes 24-27) and its copy in the
// version-valid-for field (92-95), big-endian.
void setChangeCounter(QByteArray &database, quint32 counter)
{
    for (const int at : {24, 92})
        for (int i = 0; i < 4; ++i)
            database[at + i] = char(counter >> (8 * (3 - i)));
}

quint32 changeCounter(const QByteArray &database)
{
    quint32 counter = 0;
    for (int i = 0; i < 4; ++i)
        counter = counter << 8 | quint8(database[24 + i]);
    return counter;
}

bool damage(const QString &indexPath, Damage how, const QByteArray &foreign)
{
    QByteArray bytes = readAll(indexPath);
    const auto flip = [&bytes](qsizetype at) { bytes[at] = char(bytes[at] ^ 0x5a); };
    switch (how) {
    case Damage::FirstByte: flip(0); break;
    case Damage::HeaderByte: flip(20); break;
    case Damage::MiddleByte: flip(bytes.size() / 2); break;
    case Damage::LastByte: flip(bytes.size() - 1); break;
    case Damage::CutToHalf: bytes.truncate(bytes.size() / 2); break;
    case Damage::Emptied: bytes.clear(); break;
    case Damage::Garbage:
        for (qsizetype i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 131 + 7) % 251);
        break;
    case Damage::Foreign: bytes = foreign; break;
    }
    return writeAll(indexPath, bytes);
}

enum class Mode { ListAll, AllTerms, AnyTerm };

// The rows a query must give: list-all and all-terms newest first with equal
// dates by row id ascending, any-term by row id. A NULL content matches no
// term.
QStringList expectedTitles(const std::vector<TestRecord> &records, Mode mode, const QStringList &terms)
{
    std::vector<TestRecord> rows;
    for (const TestRecord &r : records) {
        const QString content = r.content.toString();
        const auto has = [&content](const QString &term) { return content.contains(term); };
        const bool match = mode == Mode::ListAll || (!r.content.isNull()
            && (mode == Mode::AllTerms ? std::all_of(terms.begin(), terms.end(), has)
                                       : std::any_of(terms.begin(), terms.end(), has)));
        if (match)
            rows.push_back(r);
    }
    if (mode != Mode::AnyTerm)
        std::stable_sort(rows.begin(), rows.end(), [](const TestRecord &a, const TestRecord &b) { return a.date > b.date; });
    QStringList list;
    for (const TestRecord &r : rows)
        list << r.subject;
    return list;
}
}

Q_DECLARE_METATYPE(Rewrite)
Q_DECLARE_METATYPE(Damage)

class TestIndexFreshness : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void sameSizeAndTimeRewriteGivesTheNewRows_data();
    void sameSizeAndTimeRewriteGivesTheNewRows();
    void walCommitsAreSeen_data();
    void walCommitsAreSeen();
    void damagedIndexFileIsNotTrusted_data();
    void damagedIndexFileIsNotTrusted();
    void anyChangedByteIsCaught();
    void rowsAreAddressedByTheirOwnRowId_data();
    void rowsAreAddressedByTheirOwnRowId();
    void equalDatesKeepOneOrder_data();
    void equalDatesKeepOneOrder();
    void searchNeverBuilds();
};

// Until the tool keeps an index, it scans for every search and none of this
// can be seen (the tool answers `index` with its usage then).
void TestIndexFreshness::init()
{
    static const bool keepsIndexes = [] {
        QTemporaryDir empty;
        return runCli({u"index"_qs, u"--program-folder"_qs, empty.path()}).exitCode != 64;
    }();
    if (!keepsIndexes)
        QSKIP("tamvex-cli has no index command");
}

void TestIndexFreshness::sameSizeAndTimeRewriteGivesTheNewRows_data()
{
    QTest::addColumn<Rewrite>("how");
    QTest::addColumn<bool>("sameCounter");
    QTest::newRow("written in place") << Rewrite::InPlace << false;
    QTest::newRow("written in place, same change counter") << Rewrite::InPlace << true;
    QTest::newRow("renamed over, same change counter") << Rewrite::Renamed << true;
    QTest::newRow("removed and written anew, same change counter") << Rewrite::Recreated << true;
}

void TestIndexFreshness::sameSizeAndTimeRewriteGivesTheNewRows()
{
    QFETCH(Rewrite, how);
    QFETCH(bool, sameCounter);
    QTemporaryDir dir, newer, scan;
    const QString db = dir.path() + u"/jst.mdb"_qs;
    const std::vector<TestRecord> older = corpus(200);
    QVERIFY(writeCollection(dir.path(), older));
    BUILD_INDEX(dir.path());

    // Row 1 gains «發熱» and row 2 loses it: the same bytes count.
    std::vector<TestRecord> records = older;
    records[0].content = records[0].content.toString().replace(u"脈浮"_qs, u"發熱"_qs);
    records[1].content = records[1].content.toString().replace(u"發熱"_qs, u"脈浮"_qs);
    QVERIFY(writeCollection(newer.path(), records));
    QByteArray bytes = readAll(newer.path() + u"/jst.mdb"_qs);
    const QByteArray old = readAll(db);
    QCOMPARE(bytes.size(), old.size());
    setChangeCounter(bytes, sameCounter ? changeCounter(old) : changeCounter(old) + 1);

    const struct stat before = statOf(db);
    switch (how) {
    case Rewrite::InPlace: QVERIFY(writeAll(db, bytes)); break;
    case Rewrite::Renamed:
        QVERIFY(writeAll(db + u".new"_qs, bytes));
        QCOMPARE(std::rename(QFile::encodeName(db + u".new"_qs).constData(), QFile::encodeName(db).constData()), 0);
        break;
    case Rewrite::Recreated:
        QVERIFY(QFile::remove(db));
        QVERIFY(writeAll(db, bytes));
        break;
    }
    QVERIFY(restoreTimes(db, before));
    const struct stat after = statOf(db);
    QCOMPARE(after.st_size, before.st_size);
    QCOMPARE(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    QCOMPARE(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    if (how == Rewrite::InPlace)
        QCOMPARE(after.st_ino, before.st_ino);

    QVERIFY(copyForScan(dir.path(), scan.path()));
    QVERIFY(titles(dir.path(), u"發熱"_qs).contains(records[0].subject));
    COMPARE_WITH_SCAN(dir.path(), scan.path());
    COMPARE_WITH_SCAN(dir.path(), scan.path()); // a later process as well
    BUILD_INDEX(dir.path());
    COMPARE_WITH_SCAN(dir.path(), scan.path());
}

void TestIndexFreshness::walCommitsAreSeen_data()
{
    QTest::addColumn<QStringList>("commits");
    const QString add = u"INSERT INTO maindata VALUES('新方', 'p900.htm', '蠲痺，發熱，頭痛', '2099-01-01 00:00:00')"_qs;
    QTest::newRow("row added") << QStringList{add};
    QTest::newRow("row changed") << QStringList{u"UPDATE maindata SET content = '蠲痺，頭痛' WHERE rowid = 6"_qs};
    QTest::newRow("row removed") << QStringList{u"DELETE FROM maindata WHERE rowid = 2"_qs};
    QTest::newRow("several commits")
        << QStringList{add, u"DELETE FROM maindata WHERE rowid = 10"_qs, u"UPDATE maindata SET date = '2100-01-01' WHERE rowid = 3"_qs};
}

void TestIndexFreshness::walCommitsAreSeen()
{
    QFETCH(QStringList, commits);
    QTemporaryDir dir, scan;
    const QString db = dir.path() + u"/jst.mdb"_qs;
    QVERIFY(writeCollection(dir.path(), corpus(200)));
    QVERIFY(Sql(db).exec(u"PRAGMA journal_mode=WAL"_qs));
    BUILD_INDEX(dir.path());

    // The writer stays open so that its commits stay in jst.mdb-wal.
    Sql writer(db);
    QVERIFY(writer.exec(u"PRAGMA wal_autocheckpoint=0"_qs));
    QVERIFY(writeCollection(scan.path(), corpus(200)));
    Sql plain(scan.path() + u"/jst.mdb"_qs);
    for (const QString &commit : commits) {
        QVERIFY(writer.exec(commit));
        QVERIFY(plain.exec(commit));
    }
    QVERIFY(QFileInfo(db + u"-wal"_qs).size() > 0);
    COMPARE_WITH_SCAN(dir.path(), scan.path());
}

void TestIndexFreshness::damagedIndexFileIsNotTrusted_data()
{
    QTest::addColumn<Damage>("how");
    QTest::newRow("first byte changed") << Damage::FirstByte;
    QTest::newRow("header byte changed") << Damage::HeaderByte;
    QTest::newRow("middle byte changed") << Damage::MiddleByte;
    QTest::newRow("last byte changed") << Damage::LastByte;
    QTest::newRow("cut to half") << Damage::CutToHalf;
    QTest::newRow("emptied") << Damage::Emptied;
    QTest::newRow("garbage of the same size") << Damage::Garbage;
    QTest::newRow("another collection's index") << Damage::Foreign;
}

void TestIndexFreshness::damagedIndexFileIsNotTrusted()
{
    QFETCH(Damage, how);
    QTemporaryDir dir, other, scan;
    QVERIFY(writeCollection(dir.path(), corpus(200)));
    QVERIFY(copyForScan(dir.path(), scan.path()));
    BUILD_INDEX(dir.path());
    std::vector<TestRecord> otherRecords = corpus(200);
    std::reverse(otherRecords.begin(), otherRecords.end());
    QVERIFY(writeCollection(other.path(), otherRecords));
    BUILD_INDEX(other.path());

    std::vector<QByteArray> damaged;
    for (const QString &path : keptIndexFiles(dir.path())) {
        QVERIFY(damage(path, how, readAll(keptIndexFiles(other.path()).first())));
        damaged.push_back(readAll(path));
    }
    QCOMPARE(titles(dir.path(), u"發熱"_qs).size(), 50);
    COMPARE_WITH_SCAN(dir.path(), scan.path());

    BUILD_INDEX(dir.path());
    for (const QString &path : keptIndexFiles(dir.path()))
        QVERIFY2(std::find(damaged.begin(), damaged.end(), readAll(path)) == damaged.end(), "the damaged file was kept");
    COMPARE_WITH_SCAN(dir.path(), scan.path());
}

void TestIndexFreshness::anyChangedByteIsCaught()
{
    QTemporaryDir dir, scan;
    QVERIFY(writeCollection(dir.path(), corpus(200)));
    QVERIFY(copyForScan(dir.path(), scan.path()));
    BUILD_INDEX(dir.path());
    const QString kept = keptIndexFiles(dir.path()).first();
    const QByteArray original = readAll(kept);
    constexpr int Spots = 24;
    for (int i = 1; i <= Spots; ++i) {
        QByteArray bytes = original;
        const qsizetype at = bytes.size() * i / (Spots + 1);
        bytes[at] = char(bytes[at] ^ 0x01);
        QVERIFY(writeAll(kept, bytes));
        for (const QString &query : {u"發熱"_qs, u"+發熱 惡寒"_qs, u"脈浮"_qs})
            QVERIFY2(outcome(dir.path(), query) == outcome(scan.path(), query),
                     qPrintable(u"byte %1 of %2 changed, query «%3»"_qs.arg(at).arg(bytes.size()).arg(query)));
    }
}

void TestIndexFreshness::rowsAreAddressedByTheirOwnRowId_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("insert");
    QTest::addColumn<bool>("mayRefuse"); // no name reaches the row id: the index may refuse the table
    QTest::newRow("rowid column of text")
        << u"CREATE TABLE maindata(rowid TEXT, subject TEXT, htm TEXT, content TEXT, date TEXT)"_qs
        << u"INSERT INTO maindata VALUES('r' || :n, :subject, :htm, :content, :date)"_qs << false;
    QTest::newRow("rowid column, numbers reversed")
        << u"CREATE TABLE maindata(rowid INTEGER, subject TEXT, htm TEXT, content TEXT, date TEXT)"_qs
        << u"INSERT INTO maindata VALUES(1000 - :n, :subject, :htm, :content, :date)"_qs << false;
    QTest::newRow("rowid column, numbers repeated")
        << u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT, rowid INTEGER)"_qs
        << u"INSERT INTO maindata VALUES(:subject, :htm, :content, :date, :n / 3)"_qs << false;
    QTest::newRow("rowid, oid and _rowid_ all columns")
        << u"CREATE TABLE maindata(rowid, oid, _rowid_, subject TEXT, htm TEXT, content TEXT, date TEXT)"_qs
        << u"INSERT INTO maindata VALUES(:n * 2, 'x', NULL, :subject, :htm, :content, :date)"_qs << true;
    QTest::newRow("columns in another order, one more")
        << u"CREATE TABLE maindata(date TEXT, extra BLOB, content TEXT, htm TEXT, subject TEXT)"_qs
        << u"INSERT INTO maindata(subject, htm, content, date, extra) VALUES(:subject, :htm, :content, :date, x'00ff')"_qs << false;
    QTest::newRow("integer primary key, descending from insertion")
        << u"CREATE TABLE maindata(id INTEGER PRIMARY KEY, subject TEXT, htm TEXT, content TEXT, date TEXT)"_qs
        << u"INSERT INTO maindata VALUES(100000 - 7 * :n, :subject, :htm, :content, :date)"_qs << false;
    QTest::newRow("without rowid")
        << u"CREATE TABLE maindata(subject TEXT, htm TEXT PRIMARY KEY, content TEXT, date TEXT) WITHOUT ROWID"_qs
        << StandardInsert << true;
}

void TestIndexFreshness::rowsAreAddressedByTheirOwnRowId()
{
    QFETCH(QString, table);
    QFETCH(QString, insert);
    QFETCH(bool, mayRefuse);
    QTemporaryDir dir, scan;
    QVERIFY(writeCollection(dir.path(), corpus(200), table, insert));
    QVERIFY(copyForScan(dir.path(), scan.path()));
    QCOMPARE(titles(scan.path(), u"發熱"_qs).size(), 50);
    if (mayRefuse) {
        const Run built = runCli({u"index"_qs, u"--program-folder"_qs, dir.path()});
        if (built.exitCode == 64)
            QSKIP("tamvex-cli has no index command");
        QVERIFY2(!built.crashed && (built.exitCode == 0 || built.exitCode == 2), built.err.constData());
    } else {
        BUILD_INDEX(dir.path());
    }
    COMPARE_WITH_SCAN(dir.path(), scan.path());
}

void TestIndexFreshness::equalDatesKeepOneOrder_data()
{
    QTest::addColumn<QString>("dateIndex");
    QTest::newRow("no SQL index") << QString();
    QTest::newRow("SQL index on date") << u"CREATE INDEX d ON maindata(date)"_qs;
    QTest::newRow("SQL index on date descending") << u"CREATE INDEX d ON maindata(date DESC)"_qs;
    QTest::newRow("SQL index on date and content") << u"CREATE INDEX d ON maindata(date, content)"_qs;
}

void TestIndexFreshness::equalDatesKeepOneOrder()
{
    QFETCH(QString, dateIndex);
    QTemporaryDir dir;
    const std::vector<TestRecord> records = corpus(60);
    QVERIFY(writeCollection(dir.path(), records));
    if (!dateIndex.isEmpty())
        QVERIFY(Sql(dir.path() + u"/jst.mdb"_qs).exec(dateIndex));
    const QList<std::pair<QString, QStringList>> expected = {
        {u""_qs, expectedTitles(records, Mode::ListAll, {})},
        {u"發熱"_qs, expectedTitles(records, Mode::AllTerms, {u"發熱"_qs})},
        {u"-發熱 頭痛"_qs, expectedTitles(records, Mode::AllTerms, {u"發熱"_qs, u"頭痛"_qs})},
        {u"脈浮 頭痛"_qs, expectedTitles(records, Mode::AllTerms, {u"脈浮"_qs, u"頭痛"_qs})},
        {u"+發熱 惡寒"_qs, expectedTitles(records, Mode::AnyTerm, {u"發熱"_qs, u"惡寒"_qs})},
    };
    for (const auto &[query, rows] : expected)
        QCOMPARE(titles(dir.path(), query), rows);
    BUILD_INDEX(dir.path());
    for (const auto &[query, rows] : expected)
        QCOMPARE(titles(dir.path(), query), rows);
}

// A search process does not live to finish a build, so it starts none.
void TestIndexFreshness::searchNeverBuilds()
{
    QTemporaryDir dir;
    QVERIFY(writeCollection(dir.path(), corpus(200)));
    for (const QString &query : Queries)
        QVERIFY(!search(dir.path(), query).crashed);
    QCOMPARE(keptIndexFiles(dir.path()), QStringList());
}

QTEST_GUILESS_MAIN(TestIndexFreshness)
#include "test_index_freshness.moc"
