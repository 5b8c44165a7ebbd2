#include "concordanceexport.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QStringEncoder>

namespace {

QString tsvField(QString text)
{
    for (QChar &c : text)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return text;
}

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void appendRow(QString &out, const QStringList &fields, ConcordanceFormat format)
{
    const bool tsv = format == ConcordanceFormat::Tsv;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i)
            out += tsv ? QLatin1Char('\t') : QLatin1Char(',');
        out += tsv ? tsvField(fields.at(i)) : csvField(fields.at(i));
    }
    out += tsv ? QStringLiteral("\n") : QStringLiteral("\r\n");
}
}

QByteArray concordanceText(const Concordance &concordance, const std::vector<std::uint32_t> &lines,
                           ConcordanceFormat format, bool header)
{
    QString text;
    if (format == ConcordanceFormat::Csv)
        text += QChar(0xFEFF);
    if (header)
        appendRow(text, {QStringLiteral("title"), QStringLiteral("page"), QStringLiteral("left"), QStringLiteral("hit"),
                         QStringLiteral("right")},
                  format);
    for (const std::uint32_t i : lines) {
        const Concordance::Line &line = concordance.lines[i];
        const Concordance::Record &record = concordance.records[line.record];
        appendRow(text, {record.subject, record.htm, line.left().toString(), line.hit().toString(), line.right().toString()}, format);
    }
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    return toUtf8(text);
}

Status writeConcordanceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return Failure{FailureNumber::PathAccess,
                       QCoreApplication::translate("ConcordanceExport", "Could not write the file '%1': %2").arg(path, file.errorString())};
    return {};
}
