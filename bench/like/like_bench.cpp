// Full-scan speed of a term search: SQLite's built-in LIKE against our like
// rules on the same file, side by side, medians of several runs.
//   like_bench [--size-mb N] [--runs N] [--db PATH]

#include "contentdatabase.h"
#include "modtamvex.h"
#include "queryplan.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QRandomGenerator>
#include <QString>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Options {
    int sizeMb = 200;
    int runs = 5;
    QString db = QStringLiteral("/tmp/tamvex-like-bench/jst.mdb");
};

// Zipf-distributed CJK text; the rare term appears in a handful of rows.
qint64 generate(const Options &o, const QString &rareTerm)
{
    QFileInfo(o.db).dir().mkpath(QStringLiteral("."));
    QFile::remove(o.db);
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(o.db).constData(), &db);
    sqlite3_exec(db, "PRAGMA page_size=65536; PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;"
                     "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT); BEGIN",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO maindata VALUES(?,?,?,?)", -1, &insert, nullptr);
    std::vector<double> cumulative;
    double sum = 0;
    for (int rank = 1; rank <= 5000; ++rank)
        cumulative.push_back(sum += 1.0 / rank);
    QRandomGenerator random(42);
    qint64 bytes = 0;
    const qint64 target = qint64(o.sizeMb) * 1000 * 1000;
    for (int row = 0; bytes < target; ++row) {
        QString text;
        text.reserve(1100);
        for (int i = 0; i < 1000; ++i) {
            const double u = random.generateDouble() * sum;
            const auto rank = std::lower_bound(cumulative.begin(), cumulative.end(), u) - cumulative.begin();
            text += QChar(char16_t(0x4E00 + rank));
        }
        if (row % 20011 == 7)
            text.insert(500, rareTerm);
        const QByteArray content = text.toUtf8();
        const QByteArray subject = QStringLiteral("第%1篇").arg(row).toUtf8();
        const QByteArray date = QStringLiteral("2000-01-01 %1").arg(row, 8, 10, QLatin1Char('0')).toUtf8();
        sqlite3_bind_text(insert, 1, subject.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, "p.htm", -1, SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, content.constData(), int(content.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, date.constData(), -1, SQLITE_TRANSIENT);
        sqlite3_step(insert);
        sqlite3_reset(insert);
        bytes += content.size();
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return bytes;
}

qint64 contentBytes(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "select sum(length(cast(content as blob))) from maindata", -1, &stmt, nullptr);
    sqlite3_step(stmt);
    const qint64 bytes = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return bytes;
}

std::size_t builtinLike(const QString &path, const QByteArray &sql)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, "PRAGMA mmap_size=4294967296", nullptr, nullptr, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    std::size_t rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        ++rows;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

double medianMs(int runs, const std::function<std::size_t()> &work, std::size_t &rows)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        rows = work();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
}

int main(int argc, char **argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        const QString key = QString::fromUtf8(argv[i]);
        if (key == QLatin1String("--size-mb"))
            o.sizeMb = QString::fromUtf8(argv[i + 1]).toInt();
        else if (key == QLatin1String("--runs"))
            o.runs = QString::fromUtf8(argv[i + 1]).toInt();
        else if (key == QLatin1String("--db"))
            o.db = QString::fromUtf8(argv[i + 1]);
    }
    const QString rare = QStringLiteral(u"龘靐");
    if (!QFileInfo::exists(o.db) || QFileInfo(o.db).size() < qint64(o.sizeMb) * 900 * 1000)
        generate(o, rare);
    const qint64 bytes = contentBytes(o.db);
    const QueryPlan plan = buildQuery(rare);
    const QString cs = modTamvex::makeConnectionString(QFileInfo(o.db).absolutePath());
    const QByteArray builtinSql = QStringLiteral("select subject,htm from maindata where content like '%%1%' order by date desc").arg(rare).toUtf8();
    std::size_t builtinRows = 0, ourRows = 0;
    builtinLike(o.db, builtinSql); // warm the page cache
    double builtin = 0, ours = 0;
    // Interleave the two so that both see the same machine state.
    std::vector<double> b, u;
    for (int i = 0; i < o.runs; ++i) {
        b.push_back(medianMs(1, [&] { return builtinLike(o.db, builtinSql); }, builtinRows));
        u.push_back(medianMs(1, [&] { return ContentDatabase::runStatement(DatabaseLocation{modTamvex::dataSourceOf(cs), QString()}, plan.SqlText).value().size(); }, ourRows));
    }
    std::sort(b.begin(), b.end());
    std::sort(u.begin(), u.end());
    builtin = b[b.size() / 2];
    ours = u[u.size() / 2];
    const double gb = double(bytes) / 1e9;
    std::printf("content: %.1f MB, rare two-character term, %d runs, medians\n", double(bytes) / 1e6, o.runs);
    std::printf("| method | median ms | GB/s | rows |\n|---|---|---|---|\n");
    std::printf("| SQLite built-in LIKE | %.1f | %.2f | %zu |\n", builtin, gb / (builtin / 1000), builtinRows);
    std::printf("| our like (byte search) | %.1f | %.2f | %zu |\n", ours, gb / (ours / 1000), ourRows);
    std::printf("ratio built-in / ours: %.2fx\n", builtin / ours);

    // Wildcard terms against the plain term, interleaved run by run. The
    // sets hold characters the text never has, so every character is tried.
    const auto setOf = [](int n) {
        QString set = QStringLiteral("[");
        for (int i = 0; i < n; ++i)
            set += QChar(char16_t(0x7000 + i));
        return set + QStringLiteral("]");
    };
    const QList<QPair<QString, QString>> queries{
        {QStringLiteral("plain term"), rare},
        {QStringLiteral("set of 100"), setOf(100)},
        {QStringLiteral("set of 1000"), setOf(1000)},
        {QStringLiteral("100 x _ + term"), QString(100, u'_') + rare},
    };
    std::vector<std::vector<double>> times(queries.size());
    std::vector<std::size_t> counts(queries.size());
    for (int i = 0; i < o.runs; ++i)
        for (qsizetype q = 0; q < queries.size(); ++q) {
            const QueryPlan wild = buildQuery(queries[q].second);
            times[q].push_back(medianMs(1, [&] { return ContentDatabase::runStatement(DatabaseLocation{modTamvex::dataSourceOf(cs), QString()}, wild.SqlText).value().size(); }, counts[q]));
        }
    std::printf("\n| query | median ms | GB/s | rows | ratio to plain |\n|---|---|---|---|---|\n");
    std::vector<double> medians;
    for (auto &t : times) {
        std::sort(t.begin(), t.end());
        medians.push_back(t[t.size() / 2]);
    }
    for (qsizetype q = 0; q < queries.size(); ++q)
        std::printf("| %s | %.1f | %.2f | %zu | %.2fx |\n", qPrintable(queries[q].first), medians[q],
                    gb / (medians[q] / 1000), counts[q], medians[q] / medians[0]);
    return builtinRows == ourRows ? 0 : 1;
}
