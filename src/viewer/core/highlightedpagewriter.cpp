#include "highlightedpagewriter.h"

#include "filetests.h"
#include "pagemarker.h"
#include "programfolder.h"
#include "variantmarking.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
void fail(HighlightReport &report, int number, const QString &what, const QString &path)
{
    report.failures.append(Failure { number, what + QStringLiteral(": ") + path });
}

void ensureTmpFolder(const QString &programFolder, HighlightReport &report)
{
    const QString folder = joinTail(programFolder, QStringLiteral("/tmp"));
    if (isFolder(folder)) {
        report.tmpFolderReady = true;
        return;
    }
    report.tmpFolderReady = QDir().mkdir(folder);
    if (!report.tmpFolderReady)
        fail(report, FailureNumber::PathAccess, QStringLiteral("Cannot create the folder"), folder);
}

// The whole page file, or empty when it cannot be opened or read through:
// a partly read page is not shown.
QByteArray readPage(const QString &path, HighlightReport &report)
{
    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        fail(report, FailureNumber::FileIo, QStringLiteral("Cannot open the page"), path);
        return QByteArray();
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(report, FailureNumber::FileIo, QStringLiteral("Cannot read the page"), path);
        return QByteArray();
    }
    report.pageRead = true;
    return bytes;
}

void writeTempPage(const QString &path, const QByteArray &bytes, HighlightReport &report)
{
    const bool stale = isOrdinaryFile(path) && !QFile::remove(path);
    if (stale)
        fail(report, FailureNumber::PathAccess, QStringLiteral("Cannot delete the old temporary page"), path);
    // The page is created and written through one handle, and, once the old
    // one is gone, only as a new file: a second copy of the program writing
    // its page at the same moment then never writes into this file, nor this
    // one into its, so the file is always one whole page.
    QFile file(path);
    const QIODevice::OpenMode mode = stale ? QIODevice::WriteOnly | QIODevice::Truncate
                                           : QIODevice::WriteOnly | QIODevice::NewOnly;
    if (!file.open(mode)) {
        fail(report, FailureNumber::PathAccess, QStringLiteral("Cannot create the temporary page"), path);
        return;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    report.tempPageWritten = written && file.error() == QFileDevice::NoError;
    if (!report.tempPageWritten)
        fail(report, FailureNumber::PathAccess, QStringLiteral("Cannot write the temporary page"), path);
}
}

HighlightReport writeHighlightedPageReport(const QString &programFolder, const QString &tempPagePath,
                                           const QString &pagePath, const QString &termsText,
                                           const VariantTable *variants)
{
    HighlightReport report;
    report.terms = splitTerms(termsText);
    ensureTmpFolder(programFolder, report);
    report.recordPage = recordPagePath(programFolder, pagePath);
    const QByteArray page = readPage(report.recordPage, report);
    writeTempPage(tempPagePath, variants ? markPageVariants(page, report.terms, *variants) : markPage(page, report.terms),
                  report);
    return report;
}

void WriteHighlightedPage(const QString &programFolder, const QString &tempPagePath, const QString &pagePath,
                          const QString &termsText)
{
    writeHighlightedPageReport(programFolder, tempPagePath, pagePath, termsText);
}
