#include "recordprinter.h"

#include <QCoreApplication>

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
QString &pdfOutput()
{
    static QString path;
    return path;
}
}

namespace RecordPrinter {

void setPdfOutput(const QString &path)
{
    pdfOutput() = path;
}

Status printLine(const QString &line)
{
    const bool toPdf = !pdfOutput().isEmpty();
    if (!toPdf && QPrinterInfo::defaultPrinter().isNull())
        return Failure{FailureNumber::NoPrinter,
                       QCoreApplication::translate("RecordPrinter", "沒有可用的印表機，無法列印。請先在系統中安裝或設定預設印表機。")};
    QPrinter printer(toPdf ? QPrinterInfo() : QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    if (toPdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdfOutput());
    }
    QPainter painter;
    if (!painter.begin(&printer))
        return Failure{FailureNumber::NoPrinter, QCoreApplication::translate("RecordPrinter", "無法開始列印：印表機沒有回應。")};
    QFont font = painter.font();
    font.setPointSizeF(12);
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const int lineHeight = metrics.lineSpacing();
    // Two empty lines, then the text on the third line.
    painter.drawText(0, 2 * lineHeight + metrics.ascent(), line);
    painter.end();
    return {};
}
}
