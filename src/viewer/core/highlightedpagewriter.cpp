#include "highlightedpagewriter.h"

#include <QCoreApplication>

#include "filetests.h"
#include "pagefile.h"
#include "pagemarker.h"
#include "programfolder.h"
#include "variantmarking.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace {
void fail(HighlightReport &report, int number, const QString &what, const QString &path)
{
    report.failures.append(Failure { number, what + QCoreApplication::translate("HighlightedPageWriter", ": ") + path });
}

// The temporary page's folder: the program folder's tmp folder, or the
// work folder that stands in for it.
void ensureTmpFolder(const QString &tempPagePath, HighlightReport &report)
{
    const QString folder = tempPagePath.left(qMax(0, tempPagePath.lastIndexOf(QLatin1Char('/'))));
    if (isFolder(folder)) {
        report.tmpFolderReady = true;
        return;
    }
    // Another copy of the program may make it at the same moment.
    report.tmpFolderReady = QDir().mkdir(folder) || isFolder(folder);
    if (!report.tmpFolderReady)
        fail(report, FailureNumber::PathAccess, QCoreApplication::translate("HighlightedPageWriter", "Cannot create the folder"), folder);
}

// Why a page was not read, for the report.
QString refusal(PageFileState state)
{
    switch (state) {
    case PageFileState::CannotOpen:
        return QCoreApplication::translate("HighlightedPageWriter", "Cannot open the page");
    case PageFileState::NotAFile:
        return QCoreApplication::translate("HighlightedPageWriter",
                                           "The page is not a regular file (a FIFO, a device or a socket has its name)");
    case PageFileState::TooLarge:
        return QCoreApplication::translate("HighlightedPageWriter", "The page is larger than %1 MB")
            .arg(PageSizeLimit >> 20);
    case PageFileState::ReadFailed:
    case PageFileState::Read:
        break;
    }
    return QCoreApplication::translate("HighlightedPageWriter", "Cannot read the page");
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

// Opens the temporary page for writing as a new file once the old one is
// gone. The page is created and written through one handle, and only as a
// new file: a second copy of the program writing its page at the same
// moment then never writes into this file, nor this one into its, so the
// file is always one whole page. When the other copy made its file between
// the removal and the creation, its file is removed in turn (the last
// writer's page stands, as for two writers one after the other).
bool openNewTempPage(QFile &file, HighlightReport &report)
{
    const QString path = file.fileName();
    for (int attempt = 0; attempt < 20; ++attempt) {
        // A file that went away meanwhile was removed by the other copy.
        const bool stale = isOrdinaryFile(path) && !QFile::remove(path) && QFileInfo::exists(path);
        if (stale) {
            fail(report, FailureNumber::PathAccess, QCoreApplication::translate("HighlightedPageWriter", "Cannot delete the old temporary page"), path);
            return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        }
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return true;
        if (!isOrdinaryFile(path))
            return false;
    }
    return false;
}

void writeTempPage(const QString &path, const QByteArray &bytes, HighlightReport &report)
{
    QFile file(path);
    if (!openNewTempPage(file, report)) {
        fail(report, FailureNumber::PathAccess, QCoreApplication::translate("HighlightedPageWriter", "Cannot create the temporary page"), path);
        return;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    report.tempPageWritten = written && file.error() == QFileDevice::NoError;
    if (report.tempPageWritten)
        return;
    // A page cut short (a full disk) is never left for a view to show.
    file.remove();
    fail(report, FailureNumber::PathAccess, QCoreApplication::translate("HighlightedPageWriter", "Cannot write the temporary page"), path);
}
}

HighlightReport writeHighlightedPageReport(const QString &programFolder, const QString &tempPagePath,
                                           const QString &pagePath, const QString &termsText,
                                           const VariantTable *variants)
{
    HighlightReport report;
    report.terms = splitTerms(termsText);
    ensureTmpFolder(tempPagePath, report);
    report.recordPage = recordPagePath(programFolder, pagePath);
    const QByteArray page = readPage(report.recordPage, report);
    writeTempPage(tempPagePath,
                  report.notice     ? noticePage(report.failures.last())
                  : variants        ? markPageVariants(page, report.terms, *variants, &report.marks)
                                    : markPage(page, report.terms, &report.marks),
                  report);
    return report;
}

void WriteHighlightedPage(const QString &programFolder, const QString &tempPagePath, const QString &pagePath,
                          const QString &termsText)
{
    writeHighlightedPageReport(programFolder, tempPagePath, pagePath, termsText);
}
