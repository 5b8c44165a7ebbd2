// One run, one table: SQLite's own LIKE on a plain connection, ripgrep over
// the same text, our scan and our term index, on each corpus folder written
// by make_corpus.py. Also the index's size and build time, the list-all run
// and first page marking with the big corpus, marking a 1 MB page, and the
// peak memory of the process.
//
//   tamvex_bench_suite [--runs N] [--json FILE] CORPUS_DIR...
//
// --json also writes the figures (SuiteFigures) for bench/summary.

#include "benchtimer.h"
#include "collectionindex.h"
#include "contentdatabase.h"
#include "databaselocation.h"
#include "filestamp.h"
#include "indexfile.h"
#include "peakmemory.h"
#include "pagemarker.h"
#include "programfolder.h"
#include "queryplan.h"
#include "suitefigures.h"
#include "termindexregistry.h"
#include "termpicker.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringList>

#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

struct Query {
    QString label;
    QString box; // query box text
};

struct Corpus {
    QString dir;
    QString name;
    double contentBytes = 0;
    std::size_t records = 0;
    DatabaseLocation location;
};

int g_runs = 5;
QStringList g_table;
QStringList g_notes;
SuiteFigures g_figures;

QString dbPath(const Corpus &c) { return c.dir + QStringLiteral("/jst.mdb"); }

// SQLite's built-in LIKE, no function of ours: the statement in its syntax.
std::size_t sqliteLike(const Corpus &c, const QueryPlan &plan, const QStringList &terms)
{
    QString sql = QStringLiteral("select subject,htm from maindata");
    QStringList clauses;
    for (int i = 0; i < terms.size(); ++i)
        clauses << QStringLiteral("content like ?%1").arg(i + 1);
    if (plan.mode == SearchMode::AnyTerm)
        sql += QStringLiteral(" where ") + clauses.join(QStringLiteral(" or "));
    else if (!clauses.isEmpty())
        sql += QStringLiteral(" where ") + clauses.join(QStringLiteral(" and ")) + QStringLiteral(" order by date desc");
    else
        sql += QStringLiteral(" order by date desc");
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(dbPath(c)).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_exec(db, "PRAGMA mmap_size=4294967296", nullptr, nullptr, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr);
    for (int i = 0; i < terms.size(); ++i) {
        const QByteArray p = (QLatin1Char('%') + terms[i] + QLatin1Char('%')).toUtf8();
        sqlite3_bind_text(stmt, i + 1, p.constData(), int(p.size()), SQLITE_TRANSIENT);
    }
    std::size_t rows = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        (void)QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        (void)QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1)));
        ++rows;
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

// rg -F -c over content.txt (one record a line): the matching line count.
long ripgrep(const Corpus &c, const QStringList &terms)
{
    QStringList args{QStringLiteral("-F"), QStringLiteral("-c")};
    for (const QString &t : terms)
        args << QStringLiteral("-e") << t;
    args << c.dir + QStringLiteral("/content.txt");
    QProcess rg;
    rg.start(QStringLiteral("rg"), args);
    rg.waitForFinished(-1);
    return QString::fromUtf8(rg.readAllStandardOutput()).trimmed().toLong();
}

// Without a registry the statement scans; with one whose index is kept
// it is answered from the index.
std::size_t ours(const Corpus &c, const QueryPlan &plan, TermIndexRegistry *registry)
{
    const auto rows = ContentDatabase::runStatement(c.location, plan.SqlText, registry);
    return rows.ok() ? rows.value().size() : 0;
}

// The index column must time the index path, never a silent scan.
void requireIndex(const Corpus &c, TermIndexRegistry &registry)
{
    if (registry.indexFor(dbPath(c)))
        return;
    std::fprintf(stderr, "%s: the kept index is not in use; the index figures would be scans\n",
                 c.name.toUtf8().constData());
    std::exit(1);
}

QString cell(double ms) { return ms < 0 ? QStringLiteral("—") : QString::number(ms, 'f', ms < 10 ? 2 : 1); }
QString ratio(double a, double b) { return a < 0 || b <= 0 ? QStringLiteral("—") : QString::number(a / b, 'f', a / b < 10 ? 1 : 0) + QLatin1Char('x'); }

void measure(const Corpus &c, const Query &q, TermIndexRegistry &registry)
{
    const QueryPlan plan = buildQuery(q.box);
    const QStringList terms = plan.TermsText.isEmpty() ? QStringList() : plan.TermsText.split(QLatin1Char(' '));
    std::size_t likeRows = 0, scanRows = 0, indexRows = 0;
    long rgRows = -1;
    const bool bigOrSlow = c.contentBytes > 3e8;
    const double like = medianMs(bigOrSlow ? 3 : g_runs, [&] { likeRows = sqliteLike(c, plan, terms); });
    const bool rgFits = plan.mode == SearchMode::AnyTerm || terms.size() == 1;
    const double rg = rgFits ? medianMs(g_runs, [&] { rgRows = ripgrep(c, terms); }) : -1;
    const double scan = medianMs(g_runs, [&] { scanRows = ours(c, plan, nullptr); });
    requireIndex(c, registry);
    const double index = medianMs(g_runs, [&] { indexRows = ours(c, plan, &registry); });
    if (likeRows != scanRows || scanRows != indexRows || (rgRows >= 0 && std::size_t(rgRows) != scanRows))
        g_notes << QStringLiteral("- row counts differ for %1 «%2»: LIKE %3, rg %4, scan %5, index %6")
                       .arg(c.name, q.box).arg(likeRows).arg(rgRows).arg(scanRows).arg(indexRows);
    const double gbsValue = terms.size() == 1 && !q.label.contains(QLatin1String("frequent"))
        ? c.contentBytes / scan / 1e6 : -1;
    const QString gbs = gbsValue >= 0 ? QString::number(gbsValue, 'f', 1) : QStringLiteral("—");
    g_table << QStringLiteral("| %1 | %2 «%3» | %4 | %5 | %6 | %7 | %8 | %9 | ")
                   .arg(c.name, q.label, q.box).arg(scanRows).arg(cell(like), cell(rg), cell(scan), cell(index))
                   .arg(gbs)
                   + QStringLiteral("%1 | %2 | %3 |").arg(ratio(like, index), ratio(scan, index), ratio(scan, rg));
    g_figures.addQuery(c.name, q.label, q.box, scanRows, like, rg, scan, index, gbsValue);
}

Corpus openCorpus(const QString &dir)
{
    Corpus c{dir, QFileInfo(dir).fileName(), 0, 0, DatabaseLocation::inFolder(dir)};
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(dbPath(c)).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "select count(*), sum(length(cast(content as blob))) from maindata", -1, &stmt, nullptr);
    if (sqlite3_step(stmt) == SQLITE_ROW) {
        c.records = std::size_t(sqlite3_column_int64(stmt, 0));
        c.contentBytes = sqlite3_column_double(stmt, 1);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return c;
}

QString contentOfRow(const Corpus &c, qint64 row)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(dbPath(c)).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "select content from maindata where rowid = ?", -1, &stmt, nullptr);
    sqlite3_bind_int64(stmt, 1, row);
    QString text;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return text;
}

// Builds the index as `tamvex-cli index` does (two threads, written to the
// corpus's tmp folder in the same pass) after removing any kept one.
std::shared_ptr<const CollectionIndex> buildIndex(const Corpus &c, TermIndexRegistry &registry)
{
    const QString keep = c.location.tmpFolder;
    QDir tmp(keep);
    for (const QString &old : tmp.entryList({QStringLiteral("tamvex-index-*")}, QDir::Files))
        tmp.remove(old);
    Result<std::shared_ptr<const CollectionIndex>> built(Failure{});
    PeakMemory peak;
    const double buildMs = onceMs([&] { built = registry.buildNow(dbPath(c)); });
    peak.stop();
    if (!built.ok()) {
        std::fprintf(stderr, "%s: the index could not be built: %s\n", c.name.toUtf8().constData(),
                     built.failure().description.toUtf8().constData());
        std::exit(1);
    }
    const QString file = keep + QLatin1Char('/') + IndexFile::fileNameFor(FileStamp::of(dbPath(c)));
    const double size = double(QFileInfo(file).size());
    g_notes << QStringLiteral("- %1: %2 records, %3 MB of content; index %4 MB = %5x the text, built and written in %6 s on two threads")
                   .arg(c.name).arg(c.records).arg(c.contentBytes / 1e6, 0, 'f', 0).arg(size / 1e6, 0, 'f', 0)
                   .arg(size / c.contentBytes, 0, 'f', 2).arg(buildMs / 1e3, 0, 'f', 1);
    g_figures.setCorpus(c.name, c.records, c.contentBytes);
    g_figures.setIndexBuild(c.name, buildMs, 0, size, peak.rssMb(), peak.anonMb());
    requireIndex(c, registry);
    return std::move(built).value();
}

std::vector<Query> queriesFor(const Corpus &c, const CollectionIndex &table)
{
    const QString rare2 = TermPicker::rare(table, true, 5), rare1 = TermPicker::rare(table, false, 20);
    const QString freq1 = TermPicker::mostFrequent(table, false), freq2 = TermPicker::mostFrequent(table, true);
    const QString text = contentOfRow(c, qint64(c.records / 3 + 1));
    const QString three = TermPicker::phrase(text, 100, 3), four = TermPicker::phrase(text, 400, 4);
    const QString rare2b = TermPicker::rare(table, true, 40);
    return {
        {QStringLiteral("1 term, 2 chars, rare"), rare2},
        {QStringLiteral("1 term, 1 char, rare"), rare1},
        {QStringLiteral("1 term, 3 chars"), three},
        {QStringLiteral("1 term, 4 chars"), four},
        {QStringLiteral("1 term, 1 char, frequent"), freq1},
        {QStringLiteral("1 term, 2 chars, frequent"), freq2},
        {QStringLiteral("all of 2, rare + frequent"), rare2 + QLatin1Char(' ') + freq1},
        {QStringLiteral("all of 2, frequent"), freq1 + QLatin1Char(' ') + freq2},
        {QStringLiteral("all of 3"), rare2b + QLatin1Char(' ') + freq2 + QLatin1Char(' ') + three},
        {QStringLiteral("any of 2, rare"), QLatin1Char('+') + rare2 + QLatin1Char(' ') + rare1},
        {QStringLiteral("any of 3, rare"), QLatin1Char('+') + rare2 + QLatin1Char(' ') + rare2b + QLatin1Char(' ') + four},
        {QStringLiteral("any of 2, frequent"), QLatin1Char('+') + freq2 + QLatin1Char(' ') + rare2},
        {QStringLiteral("list all"), QString()},
    };
}

// What the program does before the first record is on show, minus the
// windows: the list-all run, then reading and marking the first page.
void firstRecord(const Corpus &c, TermIndexRegistry &registry)
{
    std::size_t rows = 0;
    requireIndex(c, registry);
    const double ms = medianMs(3, [&] {
        const auto result = ContentDatabase::runStatement(c.location, buildQuery(QString()).SqlText, &registry);
        rows = result.ok() ? result.value().size() : 0;
        if (!rows)
            return;
        QFile page(recordPagePath(c.dir, result.value().front().htm));
        if (page.open(QIODevice::ReadOnly))
            (void)markPage(page.readAll(), QStringList());
    });
    g_notes << QStringLiteral("- %1: list-all run of %2 records plus reading and marking the first page: %3 ms (libraries only; no process start, window or web view)")
                   .arg(c.name).arg(rows).arg(ms, 0, 'f', 0);
    g_figures.setFirstRecord(c.name, ms);
}

// A 1 MB page of real Big5 pages laid end to end, three terms marked.
void markOneMegabyte(const Corpus &c, const QStringList &terms)
{
    QByteArray page;
    const QStringList files = QDir(c.dir + QStringLiteral("/pages")).entryList({QStringLiteral("*.htm")}, QDir::Files);
    for (qsizetype i = 0; page.size() < 1024 * 1024 && i < files.size(); ++i) {
        QFile f(c.dir + QStringLiteral("/pages/") + files[i]);
        if (f.open(QIODevice::ReadOnly))
            page += f.readAll();
    }
    page.truncate(1024 * 1024);
    qsizetype marked = 0;
    const double ms = medianMs(15, [&] { marked = markPage(page, terms).size(); });
    g_notes << QStringLiteral("- marking a 1 MB Big5 page of %1 (terms «%2», %3 marks): %4 ms (median of 15)")
                   .arg(c.name, terms.join(QLatin1Char(' ')))
                   .arg((marked - page.size()) / (OpenMark.size() + CloseMark.size()))
                   .arg(ms, 0, 'f', 2);
}
}

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList dirs = app.arguments().mid(1);
    QString jsonPath;
    while (dirs.size() >= 2 && dirs[0].startsWith(QLatin1String("--"))) {
        if (dirs[0] == QLatin1String("--runs"))
            g_runs = dirs[1].toInt();
        else if (dirs[0] == QLatin1String("--json"))
            jsonPath = dirs[1];
        else
            break;
        dirs = dirs.mid(2);
    }
    g_figures.setRuns(g_runs);
    g_table << QStringLiteral("| corpus | query | rows | SQLite LIKE ms | rg -F -c ms | scan ms | index ms | scan GB/s | LIKE/index | scan/index | scan/rg |")
            << QStringLiteral("|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|");
    for (const QString &dir : dirs) {
        const Corpus c = openCorpus(dir);
        if (!c.records)
            continue;
        // Searches never build: the index is the one built and kept here.
        TermIndexRegistry registry(c.location.tmpFolder, IndexBuilding::OnRequest);
        const std::shared_ptr<const CollectionIndex> built = buildIndex(c, registry);
        const CollectionIndex &table = *built;
        for (const Query &q : queriesFor(c, table))
            measure(c, q, registry);
        if (c.records >= 100000 || dir == dirs.last()) // the big corpus comes last
            firstRecord(c, registry);
        if (QFileInfo(c.dir + QStringLiteral("/pages")).isDir() && c.records < 100000)
            markOneMegabyte(c, {TermPicker::mostFrequent(table, true), TermPicker::mostFrequent(table, false),
                                TermPicker::rare(table, true, 5)});
        std::fflush(stdout);
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    g_notes << QStringLiteral("- peak memory of the benchmark process (ru_maxrss): %1 MB").arg(usage.ru_maxrss / 1024);
    g_figures.setPeakMemory(usage.ru_maxrss / 1024.0);
    if (!jsonPath.isEmpty() && !g_figures.save(jsonPath))
        std::fprintf(stderr, "cannot write %s\n", QFile::encodeName(jsonPath).constData());
    std::printf("%s\n\n%s\n", g_table.join(QLatin1Char('\n')).toUtf8().constData(),
                g_notes.join(QLatin1Char('\n')).toUtf8().constData());
    return 0;
}
