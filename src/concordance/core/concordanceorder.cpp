#include "concordanceorder.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// Appends the text read backwards by characters: a surrogate pair stays a
// pair.
void appendReversedByCharacter(QString &out, QStringView text)
{
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
}

// The sort keys of every line as views: into the lines and titles
// themselves, or, for the left context, into one text of every left
// context reversed, so that a sort allocates once and not once per line.
class SortKeys {
public:
    SortKeys(const Concordance &concordance, ConcordanceSort sort)
    {
        m_keys.reserve(concordance.lines.size());
        if (sort == ConcordanceSort::LeftContext) {
            qsizetype total = 0;
            for (const Concordance::Line &line : concordance.lines)
                total += line.left().size();
            m_reversed.reserve(total);
            std::vector<std::pair<qsizetype, qsizetype>> spans;
            spans.reserve(concordance.lines.size());
            for (const Concordance::Line &line : concordance.lines) {
                const qsizetype from = m_reversed.size();
                appendReversedByCharacter(m_reversed, line.left());
                spans.emplace_back(from, m_reversed.size() - from);
            }
            for (const auto &[from, size] : spans)
                m_keys.push_back(QStringView(m_reversed).sliced(from, size));
            return;
        }
        for (const Concordance::Line &line : concordance.lines)
            m_keys.push_back(sort == ConcordanceSort::Title ? QStringView(concordance.records[line.record].subject)
                                                            : line.hitAndRight());
    }

    SortKeys(const SortKeys &) = delete;
    SortKeys &operator=(const SortKeys &) = delete;

    bool less(std::uint32_t a, std::uint32_t b) const { return m_keys[a].compare(m_keys[b]) < 0; }

private:
    QString m_reversed;
    std::vector<QStringView> m_keys;
};
}

std::vector<std::uint32_t> sortedLines(const Concordance &concordance, ConcordanceSort sort)
{
    std::vector<std::uint32_t> order(concordance.lines.size());
    std::iota(order.begin(), order.end(), 0u);
    if (sort == ConcordanceSort::ResultOrder)
        return order;
    const SortKeys keys(concordance, sort);
    std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return keys.less(a, b); });
    return order;
}

std::vector<std::uint32_t> filteredLines(const Concordance &concordance, const std::vector<std::uint32_t> &order,
                                         const QString &filter)
{
    if (filter.isEmpty())
        return order;
    std::vector<std::uint32_t> kept;
    for (const std::uint32_t i : order) {
        const Concordance::Line &line = concordance.lines[i];
        if (line.text().contains(filter, Qt::CaseInsensitive)
            || concordance.records[line.record].subject.contains(filter, Qt::CaseInsensitive))
            kept.push_back(i);
    }
    return kept;
}
