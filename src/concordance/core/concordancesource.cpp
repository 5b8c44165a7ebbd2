#include "concordancesource.h"

#include "concordancelines.h"
#include "concordancequery.h"
#include "contentdatabase.h"
#include "dateorder.h"
#include "indexedconcordance.h"

#include <QCoreApplication>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <optional>
#include <string>

namespace {

using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}

Failure readFailure(const QString &path, const QString &reason)
{
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("ConcordanceSource", "Could not read the records of the database '%1': %2")
                       .arg(path, reason)};
}

Failure readFailure(sqlite3 *db, const QString &path) { return readFailure(path, QString::fromUtf8(sqlite3_errmsg(db))); }

Result<Statement> prepare(sqlite3 *db, const char *sql, const QString &path)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return readFailure(db, path);
    return Statement(stmt, sqlite3_finalize);
}

// A record of the result with lines, before the records are put in result
// order: where its lines lie.
struct Found {
    std::uint32_t resultIndex = 0; // among the result records, as read
    std::uint32_t record = 0;      // index into the records as read
    std::uint32_t firstLine = 0;   // index into the lines as read
    std::uint32_t lineCount = 0;
};

// Puts the records that have lines, and their lines, in result order.
// places holds the place in the result list of every result record as read,
// with or without lines.
Concordance inResultOrder(Concordance read, std::vector<Found> found, const std::vector<std::uint32_t> &places)
{
    std::sort(found.begin(), found.end(),
              [&](const Found &a, const Found &b) { return places[a.resultIndex] < places[b.resultIndex]; });
    Concordance ordered;
    ordered.width = read.width;
    ordered.resultRecords = read.resultRecords;
    ordered.records.reserve(found.size());
    ordered.lines.reserve(read.lines.size());
    for (const Found &f : found) {
        const auto index = std::uint32_t(ordered.records.size());
        ordered.records.push_back(std::move(read.records[f.record]));
        ordered.records.back().resultRow = int(places[f.resultIndex]) + 1;
        for (std::uint32_t i = f.firstLine; i < f.firstLine + f.lineCount; ++i) {
            ordered.lines.push_back(std::move(read.lines[i]));
            ordered.lines.back().record = index;
        }
    }
    return ordered;
}

// The place of each result record, as read, in the search's order: by row
// id for "+", whose statement has no ordering clause, else by date.
std::optional<std::vector<std::uint32_t>> resultPlaces(sqlite3 *db, SearchMode mode, const std::vector<DatedRow> &rows,
                                                       std::string &error)
{
    if (mode != SearchMode::AnyTerm)
        return placesByDate(db, rows, error);
    std::vector<std::uint32_t> byRowId(rows.size());
    std::iota(byRowId.begin(), byRowId.end(), 0u);
    std::sort(byRowId.begin(), byRowId.end(),
              [&](std::uint32_t a, std::uint32_t b) { return rows[a].rowId < rows[b].rowId; });
    std::vector<std::uint32_t> places(rows.size());
    for (std::size_t place = 0; place < byRowId.size(); ++place)
        places[byRowId[place]] = std::uint32_t(place);
    return places;
}
}

ConcordanceOutcome readConcordance(const DatabaseLocation &location, const QString &queryText, int width,
                                   const VariantTable *variants, TermIndexRegistry *index)
{
    ConcordanceOutcome outcome;
    auto query = ConcordanceQuery::fromQueryText(queryText, variants);
    if (!query.ok()) {
        outcome.failure = query.failure();
        return outcome;
    }
    if (!query->hasTerms()) {
        outcome.end = ConcordanceEnd::NoQuery;
        return outcome;
    }
    if (index && ContentDatabase::detectFormat(location.database) == ContentDatabase::Format::SQLite)
        if (auto read = readConcordanceWithIndex(*index, location.database, query.value(), width))
            return std::move(*read);
    auto db = ContentDatabase::openReadOnly(location.database);
    if (!db.ok()) {
        outcome.failure = db.failure();
        return outcome;
    }
    sqlite3 *handle = db.value().get();
    // One pass over the table in its storage order, the fastest; the records
    // found are put in result order afterwards. The date is read only where
    // the search orders by it: "+" lists a table that has none.
    const bool byDate = query->mode() != SearchMode::AnyTerm;
    auto stmt = prepare(handle,
                        byDate ? "SELECT _rowid_, subject, htm, content, date FROM maindata"
                               : "SELECT _rowid_, subject, htm, content FROM maindata",
                        location.database);
    if (!stmt.ok()) {
        outcome.failure = stmt.failure();
        return outcome;
    }
    Concordance read;
    read.width = width;
    std::vector<Found> found;
    std::vector<DatedRow> resultRows;
    int rc;
    while ((rc = sqlite3_step(stmt->get())) == SQLITE_ROW) {
        sqlite3_stmt *row = stmt->get();
        if (sqlite3_column_type(row, 3) == SQLITE_NULL)
            continue; // found by no term
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, 3));
        const std::string_view content(text ? text : "", std::size_t(sqlite3_column_bytes(row, 3)));
        if (!query->inResult(content))
            continue;
        DatedRow dated;
        dated.rowId = sqlite3_column_int64(row, 0);
        if (byDate)
            dated.date.reset(sqlite3_value_dup(sqlite3_column_value(row, 4)));
        resultRows.push_back(std::move(dated));
        const std::size_t recordsBefore = read.records.size();
        const std::size_t linesBefore = read.lines.size();
        addConcordanceRecord(read, query.value(), Concordance::Record{columnText(row, 1), columnText(row, 2), 0},
                             content);
        if (read.records.size() != recordsBefore)
            found.push_back(Found{std::uint32_t(resultRows.size() - 1), std::uint32_t(recordsBefore),
                                  std::uint32_t(linesBefore), std::uint32_t(read.lines.size() - linesBefore)});
    }
    if (rc != SQLITE_DONE) {
        outcome.failure = readFailure(handle, location.database);
        return outcome;
    }
    stmt->reset(); // the read ends here: ordering writes only SQLite's temporary space
    std::string error;
    const auto places = resultPlaces(handle, query->mode(), resultRows, error);
    if (!places) {
        outcome.failure = readFailure(location.database, QString::fromUtf8(error.c_str()));
        return outcome;
    }
    outcome.concordance = inResultOrder(std::move(read), std::move(found), *places);
    outcome.end = outcome.concordance.lines.empty() ? ConcordanceEnd::NoLines : ConcordanceEnd::Lines;
    return outcome;
}
