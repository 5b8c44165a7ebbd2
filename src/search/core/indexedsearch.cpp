#include "indexedsearch.h"

#include "collectionindex.h"
#include "filestamp.h"

#include <sqlite3.h>

#include <memory>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

bool groupMatches(const PatternGroup &group, std::string_view value)
{
    for (const LikePattern &pattern : group.patterns)
        if (pattern.matches(value) != group.all)
            return !group.all;
    return group.all;
}

bool isSet(const std::atomic<bool> *flag)
{
    return flag && flag->load(std::memory_order_relaxed);
}

// Keeps the candidates whose content the matcher accepts; nullopt when the
// database could not be read as the index knows it, or when cancelled.
std::optional<Roaring> confirm(const CollectionIndex &index, const PatternGroup &group, const Roaring &candidates,
                               const QString &databasePath, const ContentOpener &openContent,
                               const std::atomic<bool> *cancel)
{
    const auto db = openContent();
    sqlite3_stmt *stmt = nullptr;
    if (!db.ok()
        || sqlite3_prepare_v2(db.value().get(), "SELECT content FROM maindata WHERE _rowid_ = ?1", -1, &stmt, nullptr)
            != SQLITE_OK)
        return std::nullopt;
    const Statement guard(stmt, sqlite3_finalize);
    Roaring kept;
    for (const std::uint32_t ordinal : candidates) {
        if (isSet(cancel))
            return std::nullopt;
        sqlite3_bind_int64(stmt, 1, index.rowid(ordinal));
        const int step = sqlite3_step(stmt);
        if (step == SQLITE_ROW && sqlite3_column_type(stmt, 0) != SQLITE_NULL) {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
            const std::string_view value(text ? text : "", std::size_t(sqlite3_column_bytes(stmt, 0)));
            if (groupMatches(group, value))
                kept.add(ordinal);
        } else if (step != SQLITE_ROW && step != SQLITE_DONE) {
            return std::nullopt;
        }
        sqlite3_reset(stmt);
    }
    // What was read must be the file the index was made from.
    if (!(FileStamp::of(databasePath) == index.stamp()) || hasPendingWrites(databasePath))
        return std::nullopt;
    return kept;
}

ResultRows rowsOf(const std::shared_ptr<const CollectionIndex> &index, const Roaring &ordinals, RowOrder order)
{
    ResultRows rows;
    rows.reserve(ordinals.cardinality());
    // A large result reads the whole catalogue in one go, and its rows point
    // into it rather than copying every title and path.
    const bool large = ordinals.cardinality() * 64 > index->recordCount();
    if (large) {
        index->loadCatalogue();
        rows.keepAlive = index;
    }
    const auto add = [&](std::uint32_t ordinal) {
        rows.push_back(large ? ResultRow{index->subjectView(ordinal), index->htmView(ordinal)}
                             : ResultRow{index->subject(ordinal), index->htm(ordinal)});
    };
    if (order == RowOrder::DateDescending) {
        for (const std::uint32_t ordinal : ordinals)
            add(ordinal);
    } else {
        for (const std::uint32_t ordinal : index->inRowidOrder(ordinals))
            add(ordinal);
    }
    return rows;
}

Roaring everyRecord(const CollectionIndex &index)
{
    Roaring all;
    if (index.recordCount())
        all.addRange(0, index.recordCount());
    return all;
}
}

std::optional<Result<ResultRows>> answerFromIndex(const std::shared_ptr<const CollectionIndex> &indexHandle,
                                                  const JetStatement &statement, const QString &databasePath,
                                                  const ContentOpener &openContent, const std::atomic<bool> *cancel)
{
    const CollectionIndex &index = *indexHandle;
    const CatalogueForm &form = statement.catalogue;
    if (!form.fits || index.damaged())
        return std::nullopt;
    if (form.filter == CatalogueForm::Nothing)
        return Result<ResultRows>(ResultRows{});
    if (form.filter == CatalogueForm::Everything) {
        ResultRows rows = rowsOf(indexHandle, everyRecord(index), form.order);
        if (index.damaged())
            return std::nullopt;
        return Result<ResultRows>(std::move(rows));
    }
    const PatternGroup &group = *statement.groups.front();
    QStringList patterns;
    for (const LikePattern &pattern : group.patterns)
        patterns << pattern.text();
    std::optional<CollectionIndex::Answer> answer = index.answer(group.all, patterns);
    if (!answer)
        return std::nullopt;
    if (!answer->exact) {
        std::optional<Roaring> confirmed = confirm(index, group, answer->ordinals, databasePath, openContent, cancel);
        if (isSet(cancel))
            return Result<ResultRows>(interruptedFailure());
        if (!confirmed)
            return std::nullopt;
        answer->ordinals = std::move(*confirmed);
    }
    ResultRows rows = rowsOf(indexHandle, answer->ordinals, form.order);
    if (index.damaged())
        return std::nullopt;
    return Result<ResultRows>(std::move(rows));
}
