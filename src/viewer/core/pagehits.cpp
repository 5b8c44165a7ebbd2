#include "pagehits.h"

#include <QCoreApplication>

void PageHits::reset(const QList<PageMark> &marks, const QStringList &terms)
{
    m_hits.clear();
    m_holder.clear();
    m_all = marks;
    m_terms = terms;
    m_current = -1;
    m_holder.reserve(marks.size());
    for (const PageMark &mark : marks) {
        if (mark.outermost)
            m_hits.append(mark);
        m_holder.append(int(m_hits.size()) - 1);
    }
}

int PageHits::next()
{
    if (m_hits.isEmpty())
        return -1;
    m_current = m_current < 0 || m_current + 1 >= count() ? 0 : m_current + 1;
    return m_current;
}

int PageHits::previous()
{
    if (m_hits.isEmpty())
        return -1;
    m_current = m_current <= 0 ? count() - 1 : m_current - 1;
    return m_current;
}

void PageHits::setCurrent(int hit)
{
    if (hit >= 0 && hit < count())
        m_current = hit;
}

int PageHits::hitOfOccurrence(const QString &text, int sameHit) const
{
    int found = -1;
    const int wanted = qMax(0, sameHit);
    int seen = 0;
    for (qsizetype i = 0; i < m_all.size(); ++i) {
        if (m_all[i].text != text)
            continue;
        found = m_holder[i];
        if (seen++ == wanted)
            break;
    }
    return found;
}

QList<QPair<QString, int>> PageHits::termCounts() const
{
    QList<QPair<QString, int>> counts;
    const auto slot = [&counts](const QString &term) -> qsizetype {
        for (qsizetype i = 0; i < counts.size(); ++i)
            if (counts[i].first == term)
                return i;
        return -1;
    };
    for (const QString &term : m_terms)
        if (!term.isEmpty() && slot(term) < 0)
            counts.append({term, 0});
    for (const PageMark &hit : m_hits) {
        if (hit.term >= 0 && hit.term < m_terms.size())
            if (const qsizetype at = slot(m_terms[hit.term]); at >= 0)
                ++counts[at].second;
    }
    return counts;
}

QString PageHits::countText() const
{
    if (m_hits.isEmpty())
        return QString();
    if (m_current < 0)
        return QCoreApplication::translate("PageHits", "共 %1 處").arg(count());
    return QCoreApplication::translate("PageHits", "第 %1／%2 處").arg(m_current + 1).arg(count());
}

QString PageHits::termCountsText() const
{
    if (m_hits.isEmpty())
        return QString();
    QStringList parts;
    for (const auto &[term, n] : termCounts())
        parts.append(term + QLatin1Char(' ') + QString::number(n));
    return parts.join(QStringLiteral(u" · "));
}
