// A large Jet file as jst.mdb: the first search (child run, stream,
// in-memory copy, then the statement), a later search on the unchanged file
// (kept copy, then the statement), and openJetDatabase alone.
//   bench_jet_load FILE [later-runs]
#include "contentdatabase.h"
#include "jetdatabase.h"
#include "queryplan.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
void printTable(sqlite3 *db)
{
    sqlite3_stmt *query = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*), sum(length(CAST(content AS BLOB))) FROM maindata", -1, &query, nullptr);
    if (sqlite3_step(query) == SQLITE_ROW)
        std::printf("rows: %lld, content: %.1f MB UTF-8\n", sqlite3_column_int64(query, 0),
                    sqlite3_column_double(query, 1) / 1e6);
    sqlite3_finalize(query);
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_jet_load FILE [later-runs]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    std::printf("file: %s, %.1f MB\n", argv[1], QFileInfo(path).size() / 1e6);

    // The statement of a two-character all-terms search, on the file itself.
    const DatabaseLocation location{path, QString()}; // a Jet file keeps no term index
    const QueryPlan plan = buildQuery(QStringLiteral(u"發熱"));
    QElapsedTimer clock;
    clock.start();
    const auto firstSearch = ContentDatabase::runStatement(location, plan.SqlText);
    const double firstSearchMs = clock.nsecsElapsed() / 1e6;
    if (!firstSearch.ok()) {
        std::fprintf(stderr, "%s\n", firstSearch.failure().description.toUtf8().constData());
        return 1;
    }
    std::vector<double> laterSearches;
    for (int i = 0; i < runs; ++i) {
        clock.restart();
        const auto rows = ContentDatabase::runStatement(location, plan.SqlText);
        laterSearches.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(laterSearches.begin(), laterSearches.end());
    std::printf("first search (reads the file): %.0f ms, %zu rows\n", firstSearchMs, firstSearch.value().size());
    std::printf("later search, unchanged file (median of %d): %.1f ms\n", runs, laterSearches[laterSearches.size() / 2]);

    clock.restart();
    auto first = openJetDatabase(path);
    const double firstMs = clock.nsecsElapsed() / 1e6;
    if (!first) {
        std::fprintf(stderr, "%s\n", first.failure().description.toUtf8().constData());
        return 1;
    }
    printTable(first->get());
    std::printf("openJetDatabase after the searches (kept): %.3f ms\n", firstMs);

    std::vector<double> later;
    for (int i = 0; i < runs; ++i) {
        clock.restart();
        auto again = openJetDatabase(path);
        later.push_back(clock.nsecsElapsed() / 1e3);
        if (!again || again->get() != first->get()) {
            std::fprintf(stderr, "later call did not return the kept database\n");
            return 1;
        }
    }
    std::sort(later.begin(), later.end());
    std::printf("later call on the unchanged file (median of %d): %.1f us\n", runs, later[later.size() / 2]);
    return 0;
}
