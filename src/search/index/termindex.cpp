#include "termindex.h"

#include "likeliterals.h"

#include <algorithm>

namespace {
// Pairs beyond this many of a long run add little: the rarest already
// leave few candidates for the matcher.
constexpr std::size_t kPairsPerRun = 4;
}

RowSet TermIndex::runCandidates(const std::u32string &run) const
{
    std::vector<TextKeys::Key> keys;
    if (run.size() == 1)
        keys.push_back(TextKeys::unigram(run[0]));
    for (std::size_t i = 0; i + 1 < run.size(); ++i)
        keys.push_back(TextKeys::bigram(run[i], run[i + 1]));
    std::vector<std::size_t> found;
    for (const TextKeys::Key key : keys) {
        const std::ptrdiff_t at = m_table.find(key);
        if (at < 0)
            return {};
        found.push_back(std::size_t(at));
    }
    std::sort(found.begin(), found.end(),
              [this](std::size_t a, std::size_t b) { return m_table.byteSize(a) < m_table.byteSize(b); });
    found.erase(std::unique(found.begin(), found.end()), found.end());
    if (found.size() > kPairsPerRun)
        found.resize(kPairsPerRun);
    RowSet rows = m_table.rows(found[0]);
    for (std::size_t k = 1; k < found.size() && !rows.empty(); ++k)
        rows = RowSets::intersect(rows, m_table.rows(found[k]));
    return rows;
}

std::optional<RowSet> TermIndex::patternCandidates(const QString &pattern) const
{
    std::vector<std::u32string> runs = literalRuns(pattern);
    if (runs.empty())
        return std::nullopt;
    // The longest run is usually the rarest; it starts the intersection.
    std::sort(runs.begin(), runs.end(), [](const auto &a, const auto &b) { return a.size() > b.size(); });
    RowSet rows = runCandidates(runs[0]);
    for (std::size_t r = 1; r < runs.size() && !rows.empty(); ++r)
        rows = RowSets::intersect(rows, runCandidates(runs[r]));
    return rows;
}

std::optional<RowSet> TermIndex::groupCandidates(bool all, const QStringList &patterns) const
{
    std::optional<RowSet> result;
    for (const QString &pattern : patterns) {
        std::optional<RowSet> rows = patternCandidates(pattern);
        if (!rows) {
            if (!all)
                return std::nullopt;
            continue;
        }
        if (!result)
            result = std::move(rows);
        else
            result = all ? RowSets::intersect(*result, *rows) : RowSets::unite(*result, *rows);
        if (all && result->empty())
            break;
    }
    return result;
}
