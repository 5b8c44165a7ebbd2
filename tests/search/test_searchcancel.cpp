// Abandoning a search: a cancel set while the statement, the Jet reader or
// the index's confirming read runs ends the run as Cancelled within
// moments, and a token that is never set changes nothing.

#include "contentdatabase.h"
#include "jetdatabase.h"
#include "queryplan.h"
#include "searchrun.h"
#include "slowdatabase.h"
#include "termindexregistry.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <thread>

namespace {
// Runs the search with a cancel that another thread sets after delayMs;
// returns the outcome and how long the run took in all.
struct TimedOutcome {
    SearchOutcome outcome;
    qint64 elapsedMs = 0;
};

TimedOutcome cancelAfter(const QString &box, const DatabaseLocation &location, int delayMs,
                         TermIndexRegistry *index = nullptr)
{
    SearchCancel cancel;
    QElapsedTimer clock;
    clock.start();
    std::thread reader([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        cancel.cancel();
    });
    TimedOutcome timed{runSearch(buildQuery(trimBlanks(box)), location, index, &cancel), 0};
    timed.elapsedMs = clock.elapsed();
    reader.join();
    return timed;
}

QString fixture(const QString &name)
{
    return QStringLiteral(TAMVEX_SOURCE_DIR "/tests/fixtures/jet/") + name;
}
}

class TestSearchCancel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void aLongStatementStopsSoonAfterTheCancel_data();
    void aLongStatementStopsSoonAfterTheCancel();
    void aTokenNeverSetChangesNothing_data();
    void aTokenNeverSetChangesNothing();
    void aCancelledJetReadKeepsNothingAndSparesTheKeptCopy();

private:
    DatabaseLocation slowLocation() const { return DatabaseLocation::inFolder(m_slow.path()); }
    QTemporaryDir m_slow;
    QTemporaryDir m_keep;
    std::unique_ptr<TermIndexRegistry> m_index; // built from the slow collection
    qint64 m_fullMs = 0;
};

void TestSearchCancel::initTestCase()
{
    QVERIFY(m_slow.isValid());
    QVERIFY(writeSlowDatabase(m_slow.path()));
    // The whole slow search, once, as the measure of "soon" below.
    QElapsedTimer clock;
    clock.start();
    const SearchOutcome full = runSearch(buildQuery(slowQuery()), slowLocation());
    m_fullMs = clock.elapsed();
    QCOMPARE(full.end, SearchEnd::NoRows);
    qInfo("the slow search takes %lld ms uncancelled", m_fullMs);
    QVERIFY2(m_fullMs >= 800, "the slow collection no longer makes a slow search");
    QVERIFY(m_keep.isValid());
    m_index = std::make_unique<TermIndexRegistry>(m_keep.path(), IndexBuilding::OnRequest);
    QVERIFY(ContentDatabase::buildIndex(slowLocation(), *m_index).ok());
}

void TestSearchCancel::aLongStatementStopsSoonAfterTheCancel_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<bool>("indexed");
    QTest::newRow("cancelled before it starts") << 0 << false;
    QTest::newRow("cancelled while the statement runs") << 150 << false;
    QTest::newRow("cancelled while the index's candidates are read") << 150 << true;
}

void TestSearchCancel::aLongStatementStopsSoonAfterTheCancel()
{
    QFETCH(int, delayMs);
    QFETCH(bool, indexed);
    const TimedOutcome timed = cancelAfter(slowQuery(), slowLocation(), delayMs, indexed ? m_index.get() : nullptr);
    qInfo("cancelled after %d ms, ended after %lld ms (uncancelled %lld ms)", delayMs, timed.elapsedMs, m_fullMs);
    QCOMPARE(timed.outcome.end, SearchEnd::Cancelled);
    QVERIFY(timed.outcome.rows.empty());
    QVERIFY(timed.outcome.message.isEmpty());
    QVERIFY(timed.outcome.failure.description.isEmpty());
    // Far below the whole run: the statement stopped, it did not run out.
    QVERIFY2(timed.elapsedMs < delayMs + m_fullMs / 3,
             qPrintable(QStringLiteral("%1 ms of %2").arg(timed.elapsedMs).arg(m_fullMs)));
}

void TestSearchCancel::aTokenNeverSetChangesNothing_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("end");
    QTest::addColumn<int>("rows");
    QTest::newRow("rows") << quickQuery() << int(SearchEnd::Rows) << 1;
    QTest::newRow("list all") << QString() << int(SearchEnd::Rows) << SlowRecordCount;
    QTest::newRow("no rows") << u"丙丁"_qs << int(SearchEnd::NoRows) << 0;
}

void TestSearchCancel::aTokenNeverSetChangesNothing()
{
    QFETCH(QString, box);
    QFETCH(int, end);
    QFETCH(int, rows);
    const QueryPlan plan = buildQuery(box);
    SearchCancel unset;
    const SearchOutcome with = runSearch(plan, slowLocation(), nullptr, &unset);
    const SearchOutcome without = runSearch(plan, slowLocation());
    QCOMPARE(int(with.end), end);
    QCOMPARE(int(with.rows.size()), rows);
    QCOMPARE(with.end, without.end);
    QCOMPARE(with.message, without.message);
    for (std::size_t i = 0; i < with.rows.size(); ++i)
        QCOMPARE(with.rows[i].subject, without.rows[i].subject);
    // The term index path honours the token too, and gives the same rows.
    const SearchOutcome indexed = runSearch(plan, slowLocation(), m_index.get(), &unset);
    QCOMPARE(indexed.end, without.end);
    QCOMPARE(indexed.rows.size(), without.rows.size());
    SearchCancel set;
    set.cancel();
    QCOMPARE(runSearch(plan, slowLocation(), m_index.get(), &set).end, SearchEnd::Cancelled);
}

void TestSearchCancel::aCancelledJetReadKeepsNothingAndSparesTheKeptCopy()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"jst.mdb"_qs);
    QVERIFY(QFile::copy(fixture(u"jst_small.mdb"_qs), path));
    // Cancelled while the reader child runs: it is stopped and nothing kept.
    const std::atomic<bool> set{true};
    const auto cancelled = openJetDatabase(path, 60000, &set);
    QVERIFY(!cancelled.ok());
    QCOMPARE(cancelled.failure().number, FailureNumber::Interrupted);
    // The whole search says Cancelled, with no failure to show.
    SearchCancel cancel;
    cancel.cancel();
    QCOMPARE(runSearch(buildQuery(QString()), DatabaseLocation::inFolder(dir.path()), nullptr, &cancel).end,
             SearchEnd::Cancelled);
    // The file is then read whole, and a later cancelled search leaves that
    // kept copy as it is.
    const auto kept = openJetDatabase(path);
    QVERIFY2(kept.ok(), qPrintable(kept.failure().description));
    const SearchOutcome before = runSearch(buildQuery(QString()), DatabaseLocation::inFolder(dir.path()));
    QCOMPARE(before.end, SearchEnd::Rows);
    QCOMPARE(runSearch(buildQuery(QString()), DatabaseLocation::inFolder(dir.path()), nullptr, &cancel).end,
             SearchEnd::Cancelled);
    const auto again = openJetDatabase(path);
    QVERIFY(again.ok());
    QCOMPARE(again->get(), kept->get());
    const SearchOutcome after = runSearch(buildQuery(QString()), DatabaseLocation::inFolder(dir.path()));
    QCOMPARE(after.rows.size(), before.rows.size());
}

QTEST_GUILESS_MAIN(TestSearchCancel)
#include "test_searchcancel.moc"
