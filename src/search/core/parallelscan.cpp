#include "parallelscan.h"

#include "filestamp.h"
#include "sqlitedialect.h"

#include <QStringList>

#include <sqlite3.h>

#include <thread>

namespace {
// Beyond this many matches the row list would cost more than it saves.
constexpr std::size_t kMaxMatches = 20000;

using Rowids = std::optional<std::vector<std::int64_t>>;

// Smallest and largest row id, or nullopt (no rows, no row ids).
std::optional<std::pair<std::int64_t, std::int64_t>> rowidBounds(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, "select min(_rowid_), max(_rowid_) from maindata", -1, &stmt, nullptr) != SQLITE_OK)
        return std::nullopt;
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
    if (sqlite3_step(stmt) != SQLITE_ROW || sqlite3_column_type(stmt, 0) == SQLITE_NULL)
        return std::nullopt;
    return std::make_pair(sqlite3_column_int64(stmt, 0), sqlite3_column_int64(stmt, 1));
}

Rowids matches(sqlite3 *db, const PatternGroup &group, std::int64_t low, std::int64_t high)
{
    auto rows = matchingRowids(db, group, low, high, kMaxMatches);
    return rows.ok() ? std::move(rows).value() : std::nullopt;
}

QByteArray selectOf(const std::vector<std::int64_t> &rows, RowOrder order)
{
    QStringList list;
    list.reserve(qsizetype(rows.size()));
    for (const std::int64_t row : rows)
        list << QString::number(row);
    const QString sql = QStringLiteral("select subject,htm from maindata where _rowid_ in (%1) order by %2")
                            .arg(list.join(QLatin1Char(',')),
                                 order == RowOrder::DateDescending ? QStringLiteral("date desc, _rowid_")
                                                                   : QStringLiteral("_rowid_"));
    return sql.toUtf8();
}
}

std::optional<ResultRows> scanOnTwoThreads(const QString &path, const JetStatement &statement,
                                           const std::function<Result<std::shared_ptr<sqlite3>>()> &open)
{
    if (!statement.catalogue.fits || statement.catalogue.filter != CatalogueForm::Group || statement.groups.size() != 1)
        return std::nullopt;
    const FileStamp before = FileStamp::of(path);
    auto first = open();
    auto second = open();
    if (!before.valid() || hasPendingWrites(path) || !first.ok() || !second.ok())
        return std::nullopt;
    const auto bounds = rowidBounds(first.value().get());
    if (!bounds)
        return std::nullopt;
    const PatternGroup &group = *statement.groups.front();
    const std::int64_t middle = bounds->first + (bounds->second - bounds->first) / 2;
    Rowids upper;
    std::thread helper([&] { upper = matches(second.value().get(), group, middle + 1, bounds->second); });
    Rowids rows = matches(first.value().get(), group, bounds->first, middle);
    helper.join();
    if (!rows || !upper || rows->size() + upper->size() > kMaxMatches)
        return std::nullopt;
    rows->insert(rows->end(), upper->begin(), upper->end());
    if (rows->empty())
        return ResultRows{};
    JetStatement select;
    select.sql = selectOf(*rows, statement.catalogue.order);
    auto result = runStatement(first.value().get(), select);
    // Both halves and the rows must come from one state of the file.
    if (!result.ok() || !(FileStamp::of(path) == before) || hasPendingWrites(path))
        return std::nullopt;
    return std::move(result).value();
}
