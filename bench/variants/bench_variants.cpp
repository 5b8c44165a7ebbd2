// tamvex_bench_variants TABLE_FOLDER CORPUS_DIR...: for the suite's rare and
// frequent terms, and for rare and frequent characters that have variants,
// the median time of the exact query and of its variant query, alternated
// run by run, through the kept index (built here when missing) and through
// the scan. TABLE_FOLDER holds variant-classes.txt (the installation folder).

#include "benchtimer.h"
#include "collectionindex.h"
#include "contentdatabase.h"
#include "databaselocation.h"
#include "queryplan.h"
#include "termindexregistry.h"
#include "termpicker.h"
#include "textkeys.h"
#include "variantplan.h"
#include "varianttable.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <vector>

namespace {
constexpr int kRuns = 8;

struct Query {
    QString label;
    QString box;
};

// The CJK character with variants held by the number of rows nearest
// `rows` (0: by the most rows).
QString variantCharacter(const CollectionIndex &index, const VariantTable &table, std::size_t rows)
{
    QString best;
    double bestDistance = 1e300;
    index.forEachKey([&](TextKeys::Key key, std::uint64_t) {
        if (key >= (TextKeys::Key(1) << 42) || key < 0x4E00 || key > 0x9FFF)
            return;
        if (table.membersOf(char32_t(key)).size() < 2)
            return;
        const char32_t c = char32_t(key);
        const QString character = QString::fromUcs4(&c, 1);
        const auto answer = index.answer(true, {QLatin1Char('%') + character + QLatin1Char('%')});
        const double held = answer ? double(answer->ordinals.cardinality()) : 0;
        const double distance = rows == 0 ? -held : std::abs(held - double(rows));
        if (held > 0 && distance < bestDistance) {
            bestDistance = distance;
            best = character;
        }
    });
    return best;
}

std::size_t run(const DatabaseLocation &location, const QueryPlan &plan, TermIndexRegistry *registry)
{
    const auto rows = ContentDatabase::runStatement(location, plan.SqlText, registry);
    return rows.ok() ? rows.value().size() : 0;
}

void measure(const QString &name, const DatabaseLocation &location, const Query &q, const VariantTable &table,
             TermIndexRegistry &registry)
{
    const QueryPlan exact = buildQuery(q.box), variant = buildVariantQuery(q.box, table);
    std::size_t exactRows = 0, variantRows = 0;
    std::vector<double> ei, vi, es, vs;
    run(location, exact, &registry); // warm-up of both paths
    run(location, variant, &registry);
    for (int i = 0; i < kRuns; ++i) {
        // Which goes first alternates, so that neither gains from the other.
        const auto pair = [&](std::vector<double> &first, const QueryPlan &a, std::size_t &aRows,
                              std::vector<double> &second, const QueryPlan &b, std::size_t &bRows,
                              TermIndexRegistry *with) {
            first.push_back(medianMs(1, [&] { aRows = run(location, a, with); }));
            second.push_back(medianMs(1, [&] { bRows = run(location, b, with); }));
        };
        std::size_t ignored = 0;
        if (i % 2 == 0) {
            pair(ei, exact, exactRows, vi, variant, variantRows, &registry);
            pair(es, exact, ignored, vs, variant, ignored, nullptr);
        } else {
            pair(vi, variant, variantRows, ei, exact, exactRows, &registry);
            pair(vs, variant, ignored, es, exact, ignored, nullptr);
        }
    }
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    const double a = median(ei), b = median(vi), c = median(es), d = median(vs);
    std::printf("| %s | %s «%s» | %zu | %zu | %.2f | %.2f | %.2fx | %.1f | %.1f | %.2fx |\n", name.toUtf8().constData(),
                q.label.toUtf8().constData(), q.box.toUtf8().constData(), exactRows, variantRows, a, b, b / a, c, d,
                d / c);
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: tamvex_bench_variants TABLE_FOLDER CORPUS_DIR...\n");
        return 64;
    }
    const Result<VariantTable> table = VariantTable::load(args[0]);
    if (!table) {
        std::fprintf(stderr, "%s\n", failureReport(table.failure()).toUtf8().constData());
        return 1;
    }
    std::printf("| corpus | query | exact rows | variant rows | index exact ms | index variant ms | variant/exact | scan exact ms | scan variant ms | variant/exact |\n"
                "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (const QString &dir : args.mid(1)) {
        const DatabaseLocation location = DatabaseLocation::inFolder(dir);
        TermIndexRegistry registry(location.tmpFolder, IndexBuilding::OnRequest);
        const auto built = registry.buildNow(location.database);
        if (!built.ok()) {
            std::fprintf(stderr, "%s: no index: %s\n", dir.toUtf8().constData(),
                         built.failure().description.toUtf8().constData());
            return 1;
        }
        const CollectionIndex &index = *built.value();
        const QString name = dir.section(QLatin1Char('/'), -1);
        const QString rareVariant = variantCharacter(index, table.value(), 20);
        const QString frequentVariant = variantCharacter(index, table.value(), 0);
        const std::vector<Query> queries {
            { QStringLiteral("suite: 1 term, 2 chars, rare"), TermPicker::rare(index, true, 5) },
            { QStringLiteral("suite: 1 term, 1 char, rare"), TermPicker::rare(index, false, 20) },
            { QStringLiteral("suite: 1 term, 1 char, frequent"), TermPicker::mostFrequent(index, false) },
            { QStringLiteral("suite: 1 term, 2 chars, frequent"), TermPicker::mostFrequent(index, true) },
            { QStringLiteral("1 char with variants, rare"), rareVariant },
            { QStringLiteral("1 char with variants, frequent"), frequentVariant },
            { QStringLiteral("2 chars with variants"), rareVariant + frequentVariant },
            { QStringLiteral("all of 2 with variants"), rareVariant + QLatin1Char(' ') + frequentVariant },
            { QStringLiteral("any of 2 with variants"), QLatin1Char('+') + rareVariant + QLatin1Char(' ') + frequentVariant },
        };
        for (const Query &q : queries)
            measure(name, location, q, table.value(), registry);
    }
    return 0;
}
