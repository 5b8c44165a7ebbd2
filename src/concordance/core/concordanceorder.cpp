#include "concordanceorder.h"

#include <algorithm>
#include <numeric>

namespace {

// The text read backwards by characters: a surrogate pair stays a pair.
QString reversedByCharacter(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = text.size(); i > 0;) {
        --i;
        if (i > 0 && text.at(i).isLowSurrogate() && text.at(i - 1).isHighSurrogate()) {
            out.append(text.at(i - 1));
            out.append(text.at(i));
            --i;
        } else {
            out.append(text.at(i));
        }
    }
    return out;
}

QString sortKey(const Concordance &concordance, const Concordance::Line &line, ConcordanceSort sort)
{
    switch (sort) {
    case ConcordanceSort::LeftContext:
        return reversedByCharacter(line.left);
    case ConcordanceSort::RightContext:
        return line.hit + line.right;
    case ConcordanceSort::Title:
        return concordance.records[line.record].subject;
    case ConcordanceSort::ResultOrder:
        break;
    }
    return QString();
}
}

std::vector<std::uint32_t> sortedLines(const Concordance &concordance, ConcordanceSort sort)
{
    std::vector<std::uint32_t> order(concordance.lines.size());
    std::iota(order.begin(), order.end(), 0u);
    if (sort == ConcordanceSort::ResultOrder)
        return order;
    std::vector<QString> keys;
    keys.reserve(order.size());
    for (const Concordance::Line &line : concordance.lines)
        keys.push_back(sortKey(concordance, line, sort));
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys[a] < keys[b]; });
    return order;
}

std::vector<std::uint32_t> filteredLines(const Concordance &concordance, const std::vector<std::uint32_t> &order,
                                         const QString &filter)
{
    if (filter.isEmpty())
        return order;
    std::vector<std::uint32_t> kept;
    QString joined;
    for (const std::uint32_t i : order) {
        const Concordance::Line &line = concordance.lines[i];
        joined.clear();
        joined.append(line.left).append(line.hit).append(line.right);
        if (joined.contains(filter, Qt::CaseInsensitive)
            || concordance.records[line.record].subject.contains(filter, Qt::CaseInsensitive))
            kept.push_back(i);
    }
    return kept;
}
