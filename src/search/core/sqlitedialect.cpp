#include "sqlitedialect.h"

#include <QCoreApplication>
#include <QStringDecoder>

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
constexpr const char *kGroupType = "tamvex_pattern_group";

// What a statement binds for one matcher call: the patterns, and the run's
// cancel flag, which the call reads for every record it is asked about.
struct BoundGroup {
    const PatternGroup *group = nullptr;
    const std::atomic<bool> *cancel = nullptr;
};

bool isSet(const std::atomic<bool> *flag)
{
    return flag && flag->load(std::memory_order_relaxed);
}

// SQLite calls this every few thousand steps of a statement.
int stopWhenCancelled(void *cancel)
{
    return isSet(static_cast<const std::atomic<bool> *>(cancel)) ? 1 : 0;
}

// Installs the progress handler for one statement and takes it away after.
class CancelHandler {
public:
    CancelHandler(sqlite3 *db, const std::atomic<bool> *cancel) : m_db(cancel ? db : nullptr)
    {
        if (m_db)
            sqlite3_progress_handler(m_db, 1000, stopWhenCancelled, const_cast<std::atomic<bool> *>(cancel));
    }
    ~CancelHandler()
    {
        if (m_db)
            sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }
    CancelHandler(const CancelHandler &) = delete;
    CancelHandler &operator=(const CancelHandler &) = delete;

private:
    sqlite3 *m_db;
};

std::string_view textOf(sqlite3_value *v)
{
    const auto *bytes = reinterpret_cast<const char *>(sqlite3_value_text(v));
    return std::string_view(bytes ? bytes : "", static_cast<std::size_t>(sqlite3_value_bytes(v)));
}

void likeFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    // SQLite hands over like(pattern, value): the pattern comes first.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    auto *cached = static_cast<LikePattern *>(sqlite3_get_auxdata(ctx, 0));
    if (!cached) {
        const std::string_view p = textOf(argv[0]);
        auto compiled = LikePattern::compile(QString::fromUtf8(p.data(), static_cast<qsizetype>(p.size())));
        if (!compiled.ok()) {
            const QByteArray message = compiled.failure().description.toUtf8();
            return sqlite3_result_error(ctx, message.constData(), static_cast<int>(message.size()));
        }
        cached = new LikePattern(std::move(compiled).value());
        sqlite3_set_auxdata(ctx, 0, cached, [](void *p) { delete static_cast<LikePattern *>(p); });
        cached = static_cast<LikePattern *>(sqlite3_get_auxdata(ctx, 0));
        if (!cached)
            return sqlite3_result_error_nomem(ctx);
    }
    sqlite3_result_int(ctx, cached->matches(textOf(argv[1])) ? 1 : 0);
}

// SQLite copies the message, which it reports as the statement's error.
void resultError(sqlite3_context *ctx, const QString &message)
{
    const QByteArray utf8 = message.toUtf8();
    sqlite3_result_error(ctx, utf8.constData(), int(utf8.size()));
}

void groupFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const auto *bound = static_cast<const BoundGroup *>(sqlite3_value_pointer(argv[1], kGroupType));
    if (!bound || !bound->group)
        return resultError(ctx, QCoreApplication::translate("SqliteDialect", "pattern group missing"));
    if (isSet(bound->cancel))
        return sqlite3_result_error(ctx, "interrupted", -1);
    const PatternGroup *group = bound->group;
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
        return sqlite3_result_null(ctx);
    const std::string_view value = textOf(argv[0]);
    for (const LikePattern &pattern : group->patterns) {
        if (pattern.matches(value) != group->all)
            return sqlite3_result_int(ctx, group->all ? 0 : 1);
    }
    sqlite3_result_int(ctx, group->all ? 1 : 0);
}

void chrFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    const sqlite3_int64 code = sqlite3_value_int64(argv[0]);
    if (code < 0 || code > 0xFFFF)
        return resultError(ctx, QCoreApplication::translate("SqliteDialect", "Invalid procedure call or argument"));
    const QByteArray utf8 = QString(QChar(static_cast<char16_t>(code))).toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

int authorize(void *, int action, const char *a, const char *, const char *, const char *)
{
    switch (action) {
    case SQLITE_SELECT:
        return SQLITE_OK;
    case SQLITE_READ:
        return a && std::strcmp(a, "maindata") == 0 ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_FUNCTION:
        return SQLITE_OK; // built-in functions read nothing outside the row
    default:
        return SQLITE_DENY;
    }
}

Failure sqliteFailure(sqlite3 *db, const QString &where)
{
    return Failure{FailureNumber::StatementSyntax,
                   QCoreApplication::translate("SqliteDialect", "%1: %2").arg(where, QString::fromUtf8(sqlite3_errmsg(db)))};
}

QString columnText(sqlite3_stmt *stmt, int column)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, column)) : QString();
}
}

void registerJetDialect(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, likeFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tamvex_like_all", 2, flags, nullptr, groupFunction, nullptr, nullptr);
    sqlite3_create_function(db, "tamvex_like_any", 2, flags, nullptr, groupFunction, nullptr, nullptr);
    sqlite3_create_function(db, "chr", 1, flags, nullptr, chrFunction, nullptr, nullptr);
    sqlite3_set_authorizer(db, authorize, nullptr);
}

// True when maindata has SQLite's own row id (not a table without row ids).
static bool hasRowid(sqlite3 *db)
{
    return sqlite3_table_column_metadata(db, "main", "maindata", "_rowid_", nullptr, nullptr, nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

Result<ResultRows> runStatement(sqlite3 *db, const JetStatement &statement, const std::atomic<bool> *cancel,
                                bool privateConnection)
{
    sqlite3_stmt *stmt = nullptr;
    const char *tail = nullptr;
    // Rows with equal dates, and the records of a statement without an
    // ordering clause, come in row id order whatever plan SQLite chooses
    // (an index on date or a covering index would otherwise change it).
    QByteArray sql = statement.sql;
    if ((statement.tieBreakByRowid || statement.orderByRowid) && hasRowid(db))
        sql += statement.tieBreakByRowid ? QByteArrayLiteral(", _rowid_") : QByteArrayLiteral(" order by _rowid_");
    if (sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &stmt, &tail) != SQLITE_OK)
        return sqliteFailure(db, QCoreApplication::translate("SqliteDialect", "The statement was rejected"));
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
    if (!stmt)
        return Failure{FailureNumber::StatementSyntax, QCoreApplication::translate("SqliteDialect", "The statement is empty.")};
    for (const char *p = tail; p && *p; ++p)
        if (*p != ' ' && *p != '\n' && *p != '\t' && *p != '\r')
            return Failure{FailureNumber::StatementSyntax,
                           QCoreApplication::translate("SqliteDialect", "Characters found after end of SQL statement.")};
    if (!sqlite3_stmt_readonly(stmt) || sqlite3_column_count(stmt) < 2)
        return Failure{FailureNumber::StatementSyntax,
                       QCoreApplication::translate("SqliteDialect", "Only a select of two columns can run.")};
    std::vector<BoundGroup> bound(statement.groups.size());
    for (std::size_t i = 0; i < statement.groups.size(); ++i) {
        bound[i] = BoundGroup{statement.groups[i].get(), cancel};
        sqlite3_bind_pointer(stmt, static_cast<int>(i + 1), &bound[i], kGroupType, nullptr);
    }
    const CancelHandler interrupt(db, privateConnection ? cancel : nullptr);
    ResultRows rows;
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (isSet(cancel))
            return interruptedFailure();
        rows.push_back(ResultRow{columnText(stmt, 0), columnText(stmt, 1)});
    }
    if (isSet(cancel))
        return interruptedFailure();
    if (rc != SQLITE_DONE)
        return sqliteFailure(db, QCoreApplication::translate("SqliteDialect", "The statement failed"));
    return rows;
}
