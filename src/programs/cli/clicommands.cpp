#include "clicommands.h"

#include "contentdatabase.h"
#include "databaselocation.h"
#include "highlightedpagewriter.h"
#include "indexprogress.h"
#include "kwiccommand.h"
#include "programfolder.h"
#include "queryplan.h"
#include "searchrun.h"
#include "termindexregistry.h"
#include "variantplan.h"
#include "varianttable.h"

#include <QCoreApplication>
#include <QStringEncoder>

#include <cstdio>
#include <optional>

namespace {

void writeUtf8(std::FILE *out, const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), out);
}

// One line a row, title TAB page path, encoded a block at a time so that a
// list of every record is not held twice more in memory.
void writeRows(std::FILE *out, const ResultRows &rows)
{
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    QByteArray block;
    for (const ResultRow &row : rows) {
        block += toUtf8(row.subject);
        block += '\t';
        block += toUtf8(row.htm);
        block += '\n';
        if (block.size() >= (1 << 16)) {
            std::fwrite(block.constData(), 1, std::size_t(block.size()), out);
            block.clear();
        }
    }
    std::fwrite(block.constData(), 1, std::size_t(block.size()), out);
}

int usage()
{
    writeUtf8(stderr, QCoreApplication::translate("TamvexCli", "usage: tamvex-cli statement [--variants] [--program-folder DIR] QUERY\n"
                                     "       tamvex-cli search [--variants] [--program-folder DIR] QUERY\n"
                                     "       tamvex-cli index [--program-folder DIR]\n"
                                     "       tamvex-cli mark [--variants] [--program-folder DIR] PAGEPATH TERMS\n"
                                     "       tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY\n"
                                     "--variants: each character also finds its variant and traditional forms\n"
                                     "(the table variant-classes.txt and variant-edits.txt of the folder)\n"));
    return 64;
}

// Takes "--variants" off the front of args; true when it was there.
bool takeVariants(QStringList &args)
{
    if (args.isEmpty() || args.first() != QLatin1String("--variants"))
        return false;
    args.removeFirst();
    return true;
}

// Takes "--program-folder DIR" (and "--variants", before or after it) off
// the front of args and returns DIR; the executable's folder when the
// option is not there or DIR is empty.
QString takeProgramFolder(QStringList &args, bool *variants = nullptr)
{
    bool wanted = takeVariants(args);
    QString folder;
    if (args.size() >= 2 && args.first() == QLatin1String("--program-folder")) {
        folder = args.at(1);
        args.remove(0, 2);
    }
    wanted = takeVariants(args) || wanted;
    if (variants)
        *variants = wanted;
    return folder.isEmpty() ? ProgramFolder() : folder;
}

// The folder's variant table when wanted; a failure is reported on
// standard error and gives nothing.
std::optional<VariantTable> variantTable(const QString &folder, bool wanted, bool &failed)
{
    failed = false;
    if (!wanted)
        return std::nullopt;
    Result<VariantTable> table = VariantTable::load(folder);
    if (!table) {
        writeUtf8(stderr, failureReport(table.failure()) + QLatin1Char('\n'));
        failed = true;
        return std::nullopt;
    }
    return std::move(table).value();
}

QueryPlan planOf(const QString &query, const std::optional<VariantTable> &variants)
{
    return variants ? buildVariantQuery(trimBlanks(query), *variants) : buildQuery(trimBlanks(query));
}

int statement(QStringList args)
{
    bool wanted = false;
    const QString folder = takeProgramFolder(args, &wanted);
    if (args.size() != 1)
        return usage();
    bool failed = false;
    const std::optional<VariantTable> variants = variantTable(folder, wanted, failed);
    if (failed)
        return 2;
    const QueryPlan plan = planOf(args.first(), variants);
    writeUtf8(stdout, searchModeText(plan.mode) + QLatin1Char('\n') + plan.TermsText + QLatin1Char('\n') + plan.SqlText
                          + QLatin1Char('\n'));
    return 0;
}

int search(QStringList args)
{
    bool wanted = false;
    const QString folder = takeProgramFolder(args, &wanted);
    const DatabaseLocation location = DatabaseLocation::inFolder(folder);
    if (args.size() != 1)
        return usage();
    bool failed = false;
    const std::optional<VariantTable> variants = variantTable(folder, wanted, failed);
    if (failed)
        return 2;
    // A script's search lives too short to finish a build: it uses a kept
    // index (made by "index") and otherwise scans.
    TermIndexRegistry index(location.tmpFolder, IndexBuilding::OnRequest);
    const SearchOutcome outcome = runSearch(planOf(args.first(), variants), location, &index);
    switch (outcome.end) {
    case SearchEnd::Failed:
        writeUtf8(stderr, failureReport(outcome.failure) + QLatin1Char('\n'));
        return 2;
    case SearchEnd::NoRows:
        writeUtf8(stderr, outcome.message + QLatin1Char('\n'));
        return 1;
    case SearchEnd::Cancelled: // no cancel token is passed: an interrupt ends the process
        return 130;
    case SearchEnd::Rows:
        break;
    }
    writeRows(stdout, outcome.rows);
    return 0;
}

// Builds or refreshes the kept index in the foreground, with a progress
// bar on standard error when it is a terminal.
int index(QStringList args)
{
    const DatabaseLocation location = DatabaseLocation::inFolder(takeProgramFolder(args));
    if (!args.isEmpty())
        return usage();
    TermIndexRegistry registry(location.tmpFolder, IndexBuilding::OnRequest);
    IndexProgress progress(stderr);
    const auto built = ContentDatabase::buildIndex(location, registry, [&](const BuildProgress &p) { progress.show(p); });
    progress.finish();
    if (!built.ok()) {
        writeUtf8(stderr, failureReport(built.failure()) + QLatin1Char('\n'));
        return 2;
    }
    return 0;
}

int mark(QStringList args)
{
    bool wanted = false;
    const QString folder = takeProgramFolder(args, &wanted);
    if (args.size() != 2)
        return usage();
    bool failed = false;
    const std::optional<VariantTable> variants = variantTable(folder, wanted, failed);
    if (failed)
        return 2;
    const QString tempPage = joinTail(joinTail(folder, QStringLiteral("/tmp/")), QStringLiteral("TmpVORNAX.htm"));
    // Each failed step is told; the temporary page may still have been
    // written (an empty one for a missing page), but the command failed.
    const HighlightReport report = writeHighlightedPageReport(folder, tempPage, args.at(0), args.at(1),
                                                              variants ? &*variants : nullptr);
    for (const Failure &failure : report.failures)
        writeUtf8(stderr, failureReport(failure) + QLatin1Char('\n'));
    return report.failures.isEmpty() ? 0 : 2;
}
}

int runCliCommand(const QStringList &args)
{
    if (args.isEmpty())
        return usage();
    const QString command = args.first();
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("statement"))
        return statement(rest);
    if (command == QLatin1String("search"))
        return search(rest);
    if (command == QLatin1String("index"))
        return index(rest);
    if (command == QLatin1String("mark"))
        return mark(rest);
    if (command == QLatin1String("kwic"))
        return kwicCommand(rest, ProgramFolder());
    return usage();
}
