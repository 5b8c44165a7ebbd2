#include "concordancesource.h"

#include "concordancelines.h"
#include "concordancequery.h"
#include "contentdatabase.h"

#include <sqlite3.h>

#include <memory>

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
                   QStringLiteral("Could not read the records of the database '%1': %2")
                       .arg(path, QString::fromUtf8(sqlite3_errmsg(db)))};
}

// The rows in the order the search lists them. A table without row ids
// (no such table is made by the program's tools) is read in date order only.
Result<Statement> prepareRows(sqlite3 *db, SearchMode mode, const QString &path)
{
    const bool byRowid = mode == SearchMode::AnyTerm;
    const char *const withRowid = byRowid ? "SELECT subject, htm, content FROM maindata ORDER BY _rowid_"
                                          : "SELECT subject, htm, content FROM maindata ORDER BY date DESC, _rowid_";
    const char *const plain = byRowid ? "SELECT subject, htm, content FROM maindata"
                                      : "SELECT subject, htm, content FROM maindata ORDER BY date DESC";
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, withRowid, -1, &stmt, nullptr) != SQLITE_OK
        && sqlite3_prepare_v2(db, plain, -1, &stmt, nullptr) != SQLITE_OK)
        return readFailure(db, path);
    return Statement(stmt, sqlite3_finalize);
}
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
    auto stmt = prepareRows(db.value().get(), query->mode(), location.database);
    if (!stmt.ok()) {
        outcome.failure = stmt.failure();
        return outcome;
    }
    Concordance &concordance = outcome.concordance;
    concordance.width = width;
    int rc;
    int resultRow = 0;
    while ((rc = sqlite3_step(stmt->get())) == SQLITE_ROW) {
        sqlite3_stmt *row = stmt->get();
        if (sqlite3_column_type(row, 2) == SQLITE_NULL)
            continue; // found by no term
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(row, 2));
        const std::string_view content(text ? text : "", std::size_t(sqlite3_column_bytes(row, 2)));
        if (!query->inResult(content))
            continue;
        addConcordanceRecord(concordance, query.value(),
                             Concordance::Record{columnText(row, 0), columnText(row, 1), ++resultRow}, content);
    }
    if (rc != SQLITE_DONE) {
        outcome.failure = readFailure(db.value().get(), location.database);
        return outcome;
    }
    outcome.end = concordance.lines.empty() ? ConcordanceEnd::NoLines : ConcordanceEnd::Lines;
    return outcome;
}
