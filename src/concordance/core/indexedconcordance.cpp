#include "indexedconcordance.h"

#include "collectionindex.h"
#include "concordancelines.h"
#include "concordancequery.h"
#include "contentdatabase.h"
#include "termindexregistry.h"

#include <sqlite3.h>

#include <memory>
#include <vector>

namespace {
using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;
}

std::optional<ConcordanceOutcome> readConcordanceWithIndex(TermIndexRegistry &registry, const QString &databasePath,
                                                           const ConcordanceQuery &query, int width)
{
    if (!registry.indexFor(databasePath))
        return std::nullopt; // none yet: no extra connection
    auto db = ContentDatabase::openReadOnly(databasePath);
    if (!db.ok())
        return std::nullopt;
    sqlite3 *handle = db.value().get();
    const std::unique_ptr<sqlite3, void (*)(sqlite3 *)> endRead(handle, [](sqlite3 *open) {
        sqlite3_exec(open, "COMMIT", nullptr, nullptr, nullptr);
    });
    // Asked again under the read lock: the file cannot change from here on.
    const std::shared_ptr<const CollectionIndex> index
        = ContentDatabase::beginRead(handle) ? registry.indexFor(databasePath) : nullptr;
    if (!index)
        return std::nullopt;
    const bool all = query.mode() != SearchMode::AnyTerm;
    std::optional<CollectionIndex::Answer> answer = index->answer(all, query.patternTexts());
    // Records read one by one cost more than their share of a scan in
    // storage order: beyond a fifth of the records the scan is faster.
    if (answer && answer->ordinals.cardinality() * 5 > index->recordCount())
        return std::nullopt;
    sqlite3_stmt *stmt = nullptr;
    if (!answer
        || sqlite3_prepare_v2(handle, "SELECT content FROM maindata WHERE _rowid_ = ?1", -1, &stmt, nullptr) != SQLITE_OK)
        return std::nullopt;
    const Statement guard(stmt, sqlite3_finalize);
    const std::vector<std::uint32_t> ordinals = all ? std::vector<std::uint32_t>(answer->ordinals.begin(),
                                                                                answer->ordinals.end())
                                                    : index->inRowidOrder(answer->ordinals);
    ConcordanceOutcome outcome;
    Concordance &concordance = outcome.concordance;
    concordance.width = width;
    for (const std::uint32_t ordinal : ordinals) {
        sqlite3_bind_int64(stmt, 1, index->rowid(ordinal));
        const int rc = sqlite3_step(stmt);
        if (rc != SQLITE_ROW || sqlite3_column_type(stmt, 0) == SQLITE_NULL)
            return std::nullopt; // not the file the index describes
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        const std::string_view content(text ? text : "", std::size_t(sqlite3_column_bytes(stmt, 0)));
        // Candidates of a pattern the index answers only in part are
        // confirmed as the search confirms them.
        if (query.inResult(content)) {
            const int row = concordance.resultRecords + 1;
            addConcordanceRecord(concordance, query, Concordance::Record{index->subject(ordinal), index->htm(ordinal), row},
                                 content);
        }
        sqlite3_reset(stmt);
    }
    if (index->damaged())
        return std::nullopt;
    outcome.end = concordance.lines.empty() ? ConcordanceEnd::NoLines : ConcordanceEnd::Lines;
    return outcome;
}
