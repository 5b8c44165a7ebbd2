// Runs generated queries through ContentDatabase::runStatement twice, once
// scanning every row and once with a registry whose index is ready, and
// requires the same rows in the same order, or the same failure. The index
// is asked directly as well, so that every query the index can answer is
// known to have been answered by it, by the postings alone or with the
// candidates confirmed on their content.

#include "collectionindex.h"
#include "contentdatabase.h"
#include "indexcorpus.h"
#include "variantquery.h"

#include <QFile>
#include "indexedsearch.h"
#include "readonlyopener.h"
#include "jetstatement.h"
#include "querygenerator.h"
#include "queryplan.h"
#include "termindexregistry.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
bool addIndex(const QString &dbPath, const char *sql)
{
    sqlite3 *db = nullptr;
    const bool ok = sqlite3_open(QFile::encodeName(dbPath).constData(), &db) == SQLITE_OK && IndexCorpus::execute(db, sql);
    sqlite3_close(db);
    return ok;
}


QByteArray rowsDiffer(const ResultRows &expected, const ResultRows &got)
{
    if (expected.size() != got.size())
        return "expected " + QByteArray::number(qsizetype(expected.size())) + " rows, got "
            + QByteArray::number(qsizetype(got.size()));
    for (std::size_t r = 0; r < expected.size(); ++r)
        if (expected[r].subject != got[r].subject || expected[r].htm != got[r].htm)
            return "row " + QByteArray::number(qsizetype(r)) + ": expected " + expected[r].htm.toUtf8() + ", got "
                + got[r].htm.toUtf8();
    return {};
}

QByteArray outcomesDiffer(const Result<ResultRows> &scan, const Result<ResultRows> &other)
{
    if (scan.ok() != other.ok())
        return "scan " + QByteArray(scan.ok() ? "ok" : "failed") + ", other "
            + (scan.ok() ? other : scan).failure().description.toUtf8();
    if (!scan.ok())
        return scan.failure().number == other.failure().number && scan.failure().description == other.failure().description
            ? QByteArray()
            : "failures differ: " + other.failure().description.toUtf8();
    return rowsDiffer(scan.value(), other.value());
}
}

class TestTermIndexDifferential : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void sameRowsAsScan_data();
    void sameRowsAsScan();

private:
    QTemporaryDir m_root;
    // The built table and, for the Latin corpus, groups whose letters have
    // cases, so that sets meet the index's case folding.
    VariantTable m_variants;
};

void TestTermIndexDifferential::initTestCase()
{
    QFile table(QStringLiteral(TAMVEX_INSTALL_DIR "/variant-classes.txt"));
    QVERIFY(table.open(QIODevice::ReadOnly));
    m_variants = VariantTable::fromTexts({ QString::fromUtf8(table.readAll()), u"aÉ\nsß\nΣb\nİi\n"_qs });
    QVERIFY(m_root.isValid());
    const int rc = QProcess::execute(u"/usr/bin/python3"_qs, {QStringLiteral(TAMVEX_SOURCE_DIR) + u"/collection/make_collection.py"_qs,
                                                               m_root.filePath(u"sample"_qs)});
    QCOMPARE(rc, 0);
    for (const QString &name : {u"ties"_qs, u"dateindex"_qs, u"mixed"_qs, u"covering"_qs})
        QVERIFY(QDir().mkpath(m_root.filePath(name)));
    // Most rows tie on one of three dates.
    QVERIFY(IndexCorpus::writeCorpus(m_root.filePath(u"ties"_qs), 8000, 3, 2024));
    // An index on date lets SQLite read equal dates in another order.
    QVERIFY(IndexCorpus::writeCorpus(m_root.filePath(u"dateindex"_qs), 4000, 4, 77));
    QVERIFY(addIndex(m_root.filePath(u"dateindex/jst.mdb"_qs), "CREATE INDEX bydate ON maindata(date)"));
    QVERIFY(IndexCorpus::writeMixedCorpus(m_root.filePath(u"mixed"_qs), 3000, 31));
    // A covering index: a statement without an ordering clause reads the
    // rows in the order of that index rather than by row id.
    QVERIFY(IndexCorpus::writeCorpus(m_root.filePath(u"covering"_qs), 3000, 5, 5));
    QVERIFY(addIndex(m_root.filePath(u"covering/jst.mdb"_qs), "CREATE INDEX cover ON maindata(content, subject, htm)"));
}

void TestTermIndexDifferential::sameRowsAsScan_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("alphabet");
    QTest::addColumn<int>("queries");
    QTest::newRow("sample collection") << u"sample"_qs << IndexCorpus::alphabet() << 700;
    QTest::newRow("many equal dates") << u"ties"_qs << IndexCorpus::alphabet() << 250;
    QTest::newRow("index on date") << u"dateindex"_qs << IndexCorpus::alphabet() << 350;
    QTest::newRow("latin, blobs, numbers") << u"mixed"_qs << IndexCorpus::latinAlphabet() << 600;
    QTest::newRow("covering index") << u"covering"_qs << IndexCorpus::alphabet() << 300;
}

void TestTermIndexDifferential::sameRowsAsScan()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, alphabet);
    QFETCH(int, queries);
    const QString dir = m_root.filePath(folder);
    const DatabaseLocation location{dir + u"/jst.mdb"_qs, dir + u"/tmp"_qs};
    TermIndexRegistry registry(location.tmpFolder, IndexBuilding::OnRequest);
    const auto built = registry.buildNow(location.database);
    QVERIFY2(built.ok(), qPrintable(built.ok() ? QString() : built.failure().description));
    const std::shared_ptr<const CollectionIndex> index = registry.indexFor(location.database);
    QVERIFY(index);

    QueryGenerator generator(IndexCorpus::contents(dir), alphabet, 950);
    int withRows = 0, failures = 0, exact = 0, confirmed = 0, whole = 0;
    QStringList mismatches; // all of them, so that one fault does not hide another
    for (int q = 0; q < queries; ++q) {
        // Every other query also as a variant search: its sets go through
        // the index's union of postings, the scan is the slow reference.
        const QString typed = generator.next();
        const bool variant = q % 2 == 1;
        const QString text = variant ? variantQueryText(typed, m_variants) : typed;
        const QString statement = buildQuery(text).SqlText;
        const Result<ResultRows> scan = ContentDatabase::runStatement(location, statement);
        const Result<ResultRows> indexed = ContentDatabase::runStatement(location, statement, &registry);
        if (const QByteArray differ = outcomesDiffer(scan, indexed); !differ.isEmpty())
            mismatches << u"«%1»: %2"_qs.arg(text, QString::fromUtf8(differ));
        if (!scan.ok()) {
            ++failures;
            continue;
        }
        withRows += scan.value().empty() ? 0 : 1;

        // The same statement answered by the index itself, where it fits.
        const Result<JetStatement> translated = translateJetStatement(statement);
        QVERIFY(translated.ok());
        const JetStatement &jet = translated.value();
        if (!jet.catalogue.fits)
            continue;
        const auto direct = answerFromIndex(index, jet, location.database, readOnlyOpener(location.database));
        if (!direct) {
            mismatches << u"«%1»: fits the index but was not answered by it"_qs.arg(text);
            continue;
        }
        if (const QByteArray differ = outcomesDiffer(scan, *direct); !differ.isEmpty())
            mismatches << u"«%1», index alone: %2"_qs.arg(text, QString::fromUtf8(differ));
        if (jet.catalogue.filter != CatalogueForm::Group) {
            ++whole;
            continue;
        }
        QStringList patterns;
        for (const LikePattern &pattern : jet.groups.front()->patterns)
            patterns << pattern.text();
        ++(index->answer(jet.groups.front()->all, patterns)->exact ? exact : confirmed);
    }
    QVERIFY2(mismatches.isEmpty(), qPrintable(u"%1 of %2 queries differ from the scan:\n  "_qs.arg(mismatches.size()).arg(queries)
                                              + mismatches.mid(0, 12).join(u"\n  "_qs)));
    QVERIFY(!index->damaged());
    QVERIFY(registry.indexFor(location.database));
    // The generated queries must reach failures, results, and every path.
    QVERIFY(failures > 0);
    QVERIFY(withRows > queries / 10);
    QVERIFY2(exact > queries / 20 && confirmed > queries / 20 && whole > 0,
             qPrintable(u"exact %1, confirmed %2, all or none %3"_qs.arg(exact).arg(confirmed).arg(whole)));
}

QTEST_GUILESS_MAIN(TestTermIndexDifferential)
#include "test_termindex_differential.moc"
