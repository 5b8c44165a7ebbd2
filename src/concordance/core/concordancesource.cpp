#include "concordancesource.h"

#include "concordancelines.h"
#include "concordancequery.h"
#include "contentdatabase.h"

#include <QCoreApplication>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

Failure readFailure(sqlite3 *db, const QString &path)
{
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("ConcordanceSource", "Could not read the records of the database '%1': %2")
                       .arg(path, QString::fromUtf8(sqlite3_errmsg(db)))};
}

Result<Statement> prepare(sqlite3 *db, const char *sql, const QString &path)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return readFailure(db, path);
    return Statement(stmt, sqlite3_finalize);
}

// The rank of every row id in the order the search lists the rows (date
// descending with ties by row id, or row id order for "+"). Only the keys
// are sorted: sorting whole rows would move every content through SQLite's
// sorter.
Result<std::unordered_map<std::int64_t, std::uint32_t>> resultRanks(sqlite3 *db, SearchMode mode, const QString &path)
{
    auto stmt = prepare(db,
                        mode == SearchMode::AnyTerm ? "SELECT _rowid_ FROM maindata ORDER BY _rowid_"
                                                    : "SELECT _rowid_ FROM maindata ORDER BY date DESC, _rowid_",
                        path);
    if (!stmt.ok())
        return stmt.failure();
    std::unordered_map<std::int64_t, std::uint32_t> ranks;
    int rc;
    while ((rc = sqlite3_step(stmt->get())) == SQLITE_ROW)
        ranks.emplace(sqlite3_column_int64(stmt->get(), 0), std::uint32_t(ranks.size()));
    if (rc != SQLITE_DONE)
        return readFailure(db, path);
    return ranks;
}

// A record of the result with its lines, before the records are put in
// result order.
struct Found {
    std::uint32_t rank = 0;
    Concordance part; // one record and its lines
};
}

ConcordanceOutcome readConcordance(const DatabaseLocation &location, const QString &queryText, int width)
{
    ConcordanceOutcome outcome;
    auto query = ConcordanceQuery::fromQueryText(queryText);
    if (!query.ok()) {
        outcome.failure = query.failure();
        return outcome;
    }
    if (!query->hasTerms()) {
        outcome.end = ConcordanceEnd::NoQuery;
        return outcome;
    }
    auto db = ContentDatabase::openReadOnly(location.database);
    if (!db.ok()) {
        outcome.failure = db.failure();
        return outcome;
    }
    sqlite3 *handle = db.value().get();
    // One read transaction for both reads of a file, so that no writer
    // comes between them (the in-memory copy of a Jet file never changes).
    const bool ownFile = ContentDatabase::detectFormat(location.database) == ContentDatabase::Format::SQLite
        && sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    const std::unique_ptr<sqlite3, void (*)(sqlite3 *)> endRead(ownFile ? handle : nullptr, [](sqlite3 *open) {
        sqlite3_exec(open, "COMMIT", nullptr, nullptr, nullptr);
    });
    const auto ranks = resultRanks(handle, query->mode(), location.database);
    auto stmt = ranks.ok() ? prepare(handle, "SELECT _rowid_, subject, htm, content FROM maindata", location.database)
                           : Result<Statement>(ranks.failure());
    if (!stmt.ok()) {
        outcome.failure = stmt.failure();
        return outcome;
    }
    // The table is read in its storage order, the fastest, and the records
    // found are put in result order afterwards.
    std::vector<Found> found;
    int rc;
    while ((rc = sqlite3_step(stmt->get())) == SQLITE_ROW) {
        sqlite3_stmt *row = stmt->get();
        if (sqlite3_column_type(row, 3) == SQLITE_NULL)
            continue; // found by no term
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, 3));
        const std::string_view content(text ? text : "", std::size_t(sqlite3_column_bytes(row, 3)));
        if (!query->inResult(content))
            continue;
        const auto rank = ranks->find(sqlite3_column_int64(row, 0));
        if (rank == ranks->end())
            continue; // a row written between the two reads
        Found record{rank->second, {}};
        record.part.width = width;
        addConcordanceRecord(record.part, query.value(), Concordance::Record{columnText(row, 1), columnText(row, 2), 0},
                             content);
        found.push_back(std::move(record));
    }
    if (rc != SQLITE_DONE) {
        outcome.failure = readFailure(handle, location.database);
        return outcome;
    }
    std::sort(found.begin(), found.end(), [](const Found &a, const Found &b) { return a.rank < b.rank; });
    Concordance &concordance = outcome.concordance;
    concordance.width = width;
    concordance.resultRecords = int(found.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        Concordance &part = found[i].part;
        if (part.records.empty())
            continue;
        const auto index = std::uint32_t(concordance.records.size());
        part.records.front().resultRow = int(i) + 1;
        concordance.records.push_back(std::move(part.records.front()));
        for (Concordance::Line &line : part.lines) {
            line.record = index;
            concordance.lines.push_back(std::move(line));
        }
    }
    outcome.end = concordance.lines.empty() ? ConcordanceEnd::NoLines : ConcordanceEnd::Lines;
    return outcome;
}
