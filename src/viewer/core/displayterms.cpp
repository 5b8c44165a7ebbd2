#include "displayterms.h"

bool usesSecondBranch(const QString &lastMode)
{
    return lastMode == QLatin1String("mod3") || lastMode == QLatin1String("mod4");
}

QString firstBranchTerms(const QString &queryText)
{
    return trimBlanks(queryText);
}

QString secondBranchTerms(const QString &queryText)
{
    const QString trimmed = trimBlanks(queryText);
    constexpr qsizetype Limit = 100;
    qsizetype begin = 1;
    qsizetype end = qMin(trimmed.size(), begin + Limit);
    if (begin >= end)
        return QString();
    if (trimmed.at(begin).isLowSurrogate())
        ++begin;
    if (end > begin && trimmed.at(end - 1).isHighSurrogate())
        --end;
    return trimmed.mid(begin, end - begin);
}

QString displayTerms(const QString &lastMode, const QString &queryText)
{
    return usesSecondBranch(lastMode) ? secondBranchTerms(queryText) : firstBranchTerms(queryText);
}

QString ctCaption(qint32 row)
{
    return QStringLiteral("第") + QString::number(row) + QStringLiteral("筆");
}
