// Runs generated queries twice through ContentDatabase::runStatement, once
// scanning every row and once with the term index ready, and requires the
// same rows in the same order, or the same failure.

#include "contentdatabase.h"
#include "indexcorpus.h"
#include "querygenerator.h"
#include "queryplan.h"
#include "termindexregistry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestTermIndexDifferential : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sameRowsAsScan_data();
    void sameRowsAsScan();
    void cleanupTestCase();

private:
    QTemporaryDir m_root;
};

void TestTermIndexDifferential::initTestCase()
{
    QVERIFY(m_root.isValid());
    const QString sample = m_root.filePath(u"sample"_qs);
    const int rc = QProcess::execute(u"/usr/bin/python3"_qs,
                                     {QStringLiteral(TAMVEX_SOURCE_DIR) + u"/collection/make_collection.py"_qs, sample});
    QCOMPARE(rc, 0);
    QVERIFY(QDir().mkpath(m_root.filePath(u"ties"_qs)));
    // Enough rows that sorting them all spills to disk, over three dates.
    QVERIFY(IndexCorpus::writeCorpus(m_root.filePath(u"ties"_qs), 40000, 3, 2024));
}

void TestTermIndexDifferential::cleanupTestCase()
{
    TermIndexRegistry::instance().reset();
}

void TestTermIndexDifferential::sameRowsAsScan_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<int>("queries");
    QTest::newRow("sample collection") << u"sample"_qs << 700;
    QTest::newRow("many equal dates") << u"ties"_qs << 500;
}

void TestTermIndexDifferential::sameRowsAsScan()
{
    QFETCH(QString, folder);
    QFETCH(int, queries);
    const QString dir = m_root.filePath(folder);
    // The kept index goes to a program folder of its own, apart from the data.
    const DatabaseLocation location{dir + u"/jst.mdb"_qs, m_root.filePath(u"program/tmp"_qs)};
    TermIndexRegistry &registry = TermIndexRegistry::instance();
    registry.reset();
    registry.setEnabled(true);
    QVERIFY(!registry.indexFor(location.database, location.tmpFolder));
    registry.waitUntilIdle();
    QVERIFY(registry.indexFor(location.database, location.tmpFolder));

    QueryGenerator generator(IndexCorpus::contents(dir), IndexCorpus::alphabet(), 950);
    int withRows = 0, failures = 0;
    for (int q = 0; q < queries; ++q) {
        const QString text = generator.next();
        const QueryPlan plan = buildQuery(text);
        registry.setEnabled(false);
        const Result<ResultRows> scan = ContentDatabase::runStatement(location, plan.SqlText);
        registry.setEnabled(true);
        const Result<ResultRows> indexed = ContentDatabase::runStatement(location, plan.SqlText);
        const QByteArray what = text.toUtf8();
        QVERIFY2(scan.ok() == indexed.ok(), (what + " / " + (scan.ok() ? indexed : scan).failure().description.toUtf8()).constData());
        if (!scan.ok()) {
            ++failures;
            QCOMPARE(indexed.failure().number, scan.failure().number);
            QCOMPARE(indexed.failure().description, scan.failure().description);
            continue;
        }
        withRows += scan.value().empty() ? 0 : 1;
        QVERIFY2(indexed.value().size() == scan.value().size(), what.constData());
        for (std::size_t r = 0; r < scan.value().size(); ++r) {
            QVERIFY2(indexed.value()[r].subject == scan.value()[r].subject, what.constData());
            QVERIFY2(indexed.value()[r].htm == scan.value()[r].htm, what.constData());
        }
    }
    // The generated queries must reach both the failure path and results.
    QVERIFY(failures > 0);
    QVERIFY(withRows > queries / 10);
}

QTEST_GUILESS_MAIN(TestTermIndexDifferential)
#include "test_termindex_differential.moc"
