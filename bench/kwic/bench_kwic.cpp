// The concordance on a collection: for each query, the occurrences and
// records it finds and the median time of reading them (whole content scan
// plus the lines), beside the time of the search's own scan of the same
// statement without an index, and the time to sort by left context and to
// filter the lines; with a term index kept for the folder ("tamvex-cli
// index"), also the time of reading through it.
//   bench_kwic PROGRAM_FOLDER [RUNS] QUERY...

#include "benchtimer.h"
#include "concordanceorder.h"
#include "concordancesource.h"
#include "searchrun.h"
#include "termindexregistry.h"

#include <QString>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_kwic PROGRAM_FOLDER RUNS QUERY...\n");
        return 64;
    }
    const DatabaseLocation location = DatabaseLocation::inFolder(QString::fromUtf8(argv[1]));
    const int runs = QString::fromUtf8(argv[2]).toInt();
    TermIndexRegistry registry(location.tmpFolder, IndexBuilding::OnRequest);
    const bool indexed = registry.indexFor(location.database) != nullptr;
    std::printf("| query | occurrences | records | concordance ms | search scan ms | ratio | sort left ms | filter ms | "
                "with index ms |\n"
                "|---|---:|---:|---:|---:|---:|---:|---:|---:|\n");
    for (int i = 3; i < argc; ++i) {
        const QString query = QString::fromUtf8(argv[i]);
        ConcordanceOutcome outcome;
        const double kwicMs = medianMs(runs, [&] { outcome = readConcordance(location, query, 12); });
        if (outcome.end == ConcordanceEnd::Failed) {
            std::fprintf(stderr, "%s\n", qPrintable(outcome.failure.description));
            return 2;
        }
        double indexMs = 0;
        if (indexed) {
            ConcordanceOutcome viaIndex;
            indexMs = medianMs(runs, [&] { viaIndex = readConcordance(location, query, 12, nullptr, &registry); });
            if (viaIndex.concordance.lines.size() != outcome.concordance.lines.size()) {
                std::fprintf(stderr, "%s: %zu lines through the index, %zu by the scan\n", argv[i],
                             viaIndex.concordance.lines.size(), outcome.concordance.lines.size());
                return 2;
            }
        }
        const double searchMs = medianMs(runs, [&] { (void)runSearch(buildQuery(query), location, nullptr); });
        const Concordance &c = outcome.concordance;
        std::vector<std::uint32_t> order;
        const double sortMs = medianMs(runs, [&] { order = sortedLines(c, ConcordanceSort::LeftContext); });
        const QString filter = c.lines.empty() ? QString() : c.lines.front().left().right(1).toString() + c.lines.front().hit().toString();
        const double filterMs = medianMs(runs, [&] { (void)filteredLines(c, order, filter); });
        const QByteArray withIndex = indexed ? QByteArray::number(indexMs, 'f', 0) : QByteArray("—");
        std::printf("| %s | %zu | %zu | %.0f | %.0f | %.2f | %.0f | %.0f | %s |\n", argv[i], c.lines.size(),
                    c.records.size(), kwicMs, searchMs, kwicMs / searchMs, sortMs, filterMs, withIndex.constData());
    }
    return 0;
}
