#include "highlightedpagewriter.h"

#include "filetests.h"
#include "pagefile.h"
#include "pagemarker.h"
#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

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

// Why a page was not read, for the report.
QString refusal(PageFileState state)
{
    switch (state) {
    case PageFileState::CannotOpen:
        return QCoreApplication::translate("HighlightedPage", "Cannot open the page");
    case PageFileState::NotAFile:
        return QCoreApplication::translate("HighlightedPage",
                                           "The page is not a regular file (a FIFO, a device or a socket has its name)");
    case PageFileState::TooLarge:
        return QCoreApplication::translate("HighlightedPage", "The page is larger than %1 MB")
            .arg(PageSizeLimit >> 20);
    case PageFileState::ReadFailed:
    case PageFileState::Read:
        break;
    }
    return QCoreApplication::translate("HighlightedPage", "Cannot read the page");
}

// In place of a page that is no page (a FIFO, a device) or is too large to
// be one, the view shows why, in the page's own encoding.
QByteArray noticePage(const Failure &why)
{
    QStringEncoder toBig5("windows-950");
    const QString text = why.description.toHtmlEscaped();
    return QByteArrayLiteral("<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=big5\">"
                             "</head><body><p>")
           + toBig5.encode(text) + QByteArrayLiteral("</p></body></html>\r\n");
}

// The whole page file, or empty when it cannot be opened or read through:
// a partly read page is not shown.
QByteArray readPage(const QString &path, HighlightReport &report)
{
    PageFile page = readPageFile(path);
    if (page.state != PageFileState::Read) {
        fail(report, FailureNumber::FileIo, refusal(page.state), path);
        if (page.state == PageFileState::NotAFile || page.state == PageFileState::TooLarge)
            report.notice = true;
        return QByteArray();
    }
    report.pageRead = true;
    return page.bytes;
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
    if (report.tempPageWritten)
        return;
    // A page cut short (a full disk) is never left for a view to show.
    file.remove();
    fail(report, FailureNumber::PathAccess, QStringLiteral("Cannot write the temporary page"), path);
}
}

HighlightReport writeHighlightedPageReport(const QString &programFolder, const QString &tempPagePath,
                                           const QString &pagePath, const QString &termsText)
{
    HighlightReport report;
    report.terms = splitTerms(termsText);
    ensureTmpFolder(programFolder, report);
    report.recordPage = recordPagePath(programFolder, pagePath);
    const QByteArray page = readPage(report.recordPage, report);
    writeTempPage(tempPagePath, report.notice ? noticePage(report.failures.last()) : markPage(page, report.terms),
                  report);
    return report;
}

void WriteHighlightedPage(const QString &programFolder, const QString &tempPagePath, const QString &pagePath,
                          const QString &termsText)
{
    writeHighlightedPageReport(programFolder, tempPagePath, pagePath, termsText);
}
