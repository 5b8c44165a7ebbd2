#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

#include <cstddef>

// The suite's figures as JSON, for the goal table that bench/summary prints
// from them: per corpus its size, the index build, the list-all start and one
// entry per query (medians in ms; a negative figure was not measured).
class SuiteFigures {
public:
    void addQuery(const QString &corpus, const QString &label, const QString &box, std::size_t rows,
                  double likeMs, double rgMs, double scanMs, double indexMs, double scanGbs);
    void setCorpus(const QString &corpus, std::size_t records, double contentBytes);
    void setIndexBuild(const QString &corpus, double buildMs, double saveMs, double indexBytes, double peakMb,
                       double peakAnonMb);
    void setFirstRecord(const QString &corpus, double ms);
    void setPeakMemory(double mb) { m_peakMb = mb; }
    void setRuns(int runs) { m_runs = runs; }

    // Writes the figures; false when the file cannot be written.
    bool save(const QString &path) const;

private:
    QJsonObject &corpus(const QString &name);

    QList<QJsonObject> m_corpora; // in the order of the run
    double m_peakMb = -1;
    int m_runs = 0;
};
