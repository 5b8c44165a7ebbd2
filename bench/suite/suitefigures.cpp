#include "suitefigures.h"

#include <QFile>
#include <QJsonDocument>

#include <cmath>

namespace {
// Microseconds are the finest the timer gives; more digits are noise.
QJsonValue rounded(double x) { return x < 0 ? QJsonValue() : QJsonValue(std::round(x * 1000.0) / 1000.0); }
}

QJsonObject &SuiteFigures::corpus(const QString &name)
{
    for (QJsonObject &c : m_corpora)
        if (c.value(QStringLiteral("name")).toString() == name)
            return c;
    m_corpora.append(QJsonObject{{QStringLiteral("name"), name}, {QStringLiteral("queries"), QJsonArray()}});
    return m_corpora.last();
}

void SuiteFigures::setCorpus(const QString &name, std::size_t records, double contentBytes)
{
    QJsonObject &c = corpus(name);
    c.insert(QStringLiteral("records"), double(records));
    c.insert(QStringLiteral("content_bytes"), contentBytes);
}

void SuiteFigures::addQuery(const QString &name, const QString &label, const QString &box, std::size_t rows,
                            double likeMs, double rgMs, double scanMs, double indexMs, double scanGbs)
{
    QJsonObject &c = corpus(name);
    QJsonArray queries = c.value(QStringLiteral("queries")).toArray();
    queries.append(QJsonObject{{QStringLiteral("label"), label},
                               {QStringLiteral("box"), box},
                               {QStringLiteral("rows"), double(rows)},
                               {QStringLiteral("like_ms"), rounded(likeMs)},
                               {QStringLiteral("rg_ms"), rounded(rgMs)},
                               {QStringLiteral("scan_ms"), rounded(scanMs)},
                               {QStringLiteral("index_ms"), rounded(indexMs)},
                               {QStringLiteral("scan_gbs"), rounded(scanGbs)}});
    c.insert(QStringLiteral("queries"), queries);
}

void SuiteFigures::setIndexBuild(const QString &name, double buildMs, double saveMs, double indexBytes,
                                 double peakMb, double peakAnonMb)
{
    QJsonObject &c = corpus(name);
    c.insert(QStringLiteral("build_s"), rounded(buildMs / 1e3));
    c.insert(QStringLiteral("save_s"), rounded(saveMs / 1e3));
    c.insert(QStringLiteral("index_bytes"), indexBytes);
    c.insert(QStringLiteral("build_peak_mb"), rounded(peakMb));
    c.insert(QStringLiteral("build_peak_anon_mb"), rounded(peakAnonMb));
}

void SuiteFigures::setFirstRecord(const QString &name, double ms)
{
    corpus(name).insert(QStringLiteral("first_record_ms"), rounded(ms));
}

bool SuiteFigures::save(const QString &path) const
{
    QJsonArray corpora;
    for (const QJsonObject &c : m_corpora)
        corpora.append(c);
    const QJsonObject root{{QStringLiteral("runs"), m_runs},
                           {QStringLiteral("peak_mb"), rounded(m_peakMb)},
                           {QStringLiteral("corpora"), corpora}};
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(QJsonDocument(root).toJson(QJsonDocument::Indented)) >= 0;
}
