#include "kwiccommand.h"

#include "concordanceexport.h"
#include "concordanceorder.h"
#include "concordancesource.h"
#include "databaselocation.h"
#include "termindexregistry.h"
#include "varianttable.h"

#include <QCoreApplication>

#include <cstdio>
#include <optional>

namespace {

void writeBytes(std::FILE *out, const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out);
}

int wrongUse(const QString &why)
{
    writeBytes(stderr, QCoreApplication::translate(
                           "TamvexCli",
                           "tamvex-cli kwic: %1\nusage: tamvex-cli kwic [--variants] [--program-folder DIR] [--width N] QUERY\n")
                           .arg(why)
                           .toUtf8());
    return 64;
}
}

int kwicCommand(QStringList args, const QString &defaultFolder)
{
    QString folder;
    int width = 12;
    bool variants = false;
    while ((!args.isEmpty() && args.first() == QLatin1String("--variants"))
           || (args.size() >= 2 && args.first().startsWith(QStringLiteral("--")))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--variants")) {
            variants = true;
            continue;
        }
        const QString value = args.takeFirst();
        if (option == QLatin1String("--program-folder")) {
            folder = value;
        } else if (option == QLatin1String("--width")) {
            bool number = false;
            width = value.toInt(&number);
            if (!number || width < 0 || width > 10000)
                return wrongUse(QCoreApplication::translate(
                                    "TamvexCli", "--width takes a number of characters from 0 to 10000, not '%1'.")
                                    .arg(value));
        } else {
            return wrongUse(QCoreApplication::translate("TamvexCli", "unknown option '%1'.").arg(option));
        }
    }
    if (args.size() != 1)
        return wrongUse(QCoreApplication::translate("TamvexCli", "give one QUERY (quote it when it holds blanks)."));
    const QString programFolder = folder.isEmpty() ? defaultFolder : folder;
    const DatabaseLocation location = DatabaseLocation::inFolder(programFolder);
    std::optional<VariantTable> table;
    if (variants) {
        Result<VariantTable> loaded = VariantTable::load(programFolder);
        if (!loaded.ok()) {
            writeBytes(stderr, (failureReport(loaded.failure()) + QLatin1Char('\n')).toUtf8());
            return 2;
        }
        table = std::move(loaded).value();
    }
    // A kept index ("tamvex-cli index") is read when it fits; none is built.
    TermIndexRegistry index(location.tmpFolder, IndexBuilding::OnRequest);
    const ConcordanceOutcome outcome
        = readConcordance(location, args.first(), width, table ? &*table : nullptr, &index);
    switch (outcome.end) {
    case ConcordanceEnd::Failed:
        writeBytes(stderr, (failureReport(outcome.failure) + QLatin1Char('\n')).toUtf8());
        return 2;
    case ConcordanceEnd::NoQuery:
        writeBytes(stderr, QCoreApplication::translate("TamvexCli", "tamvex-cli kwic: the query has no term to look for.\n").toUtf8());
        return 1;
    case ConcordanceEnd::NoLines:
        writeBytes(stderr, QCoreApplication::translate("TamvexCli", "tamvex-cli kwic: no occurrence of the terms.\n").toUtf8());
        return 1;
    case ConcordanceEnd::Lines:
        break;
    }
    const Concordance &concordance = outcome.concordance;
    writeBytes(stdout, concordanceText(concordance, sortedLines(concordance, ConcordanceSort::ResultOrder),
                                       ConcordanceFormat::Tsv, false));
    return 0;
}
