#include "concordancequery.h"

#include "blanks.h"
#include "variantquery.h"

#include <algorithm>

Result<ConcordanceQuery> ConcordanceQuery::fromQueryText(const QString &queryText, const VariantTable *variants)
{
    const QString typed = trimBlanks(queryText);
    // The variant text keeps the prefix, the blanks and the apostrophes.
    const QString trimmed = variants ? variantQueryText(typed, *variants) : typed;
    ConcordanceQuery query;
    query.m_mode = buildQuery(trimmed).mode;
    if (query.m_mode == SearchMode::ListAll)
        return query;
    // The statement carries each apostrophe as a concatenation that yields
    // the apostrophe again, so the terms are cut from the text as typed.
    const bool prefixed = query.m_mode == SearchMode::AllTermsWithMinus || query.m_mode == SearchMode::AnyTerm;
    for (const QString &term : splitTerms(prefixed ? trimmed.mid(1) : trimmed)) {
        auto pattern = LikePattern::compile(QLatin1Char('%') + term + QLatin1Char('%'));
        if (!pattern.ok())
            return pattern.failure();
        auto finder = LikeSpanFinder::compile(term);
        if (!finder.ok())
            return finder.failure();
        query.m_patterns.push_back(std::move(pattern).value());
        query.m_finders.push_back(std::move(finder).value());
    }
    return query;
}

QStringList ConcordanceQuery::patternTexts() const
{
    QStringList texts;
    for (const LikePattern &pattern : m_patterns)
        texts << pattern.text();
    return texts;
}

bool ConcordanceQuery::inResult(std::string_view content) const
{
    const bool all = m_mode != SearchMode::AnyTerm;
    for (const LikePattern &pattern : m_patterns)
        if (pattern.matches(content) != all)
            return !all;
    return all;
}

std::vector<LikeSpanFinder::Span> ConcordanceQuery::occurrences(std::string_view content) const
{
    std::vector<LikeSpanFinder::Span> spans;
    for (const LikeSpanFinder &finder : m_finders) {
        std::vector<LikeSpanFinder::Span> found = finder.find(content);
        spans.insert(spans.end(), found.begin(), found.end());
    }
    if (m_finders.size() > 1) {
        std::sort(spans.begin(), spans.end(), [](const auto &a, const auto &b) {
            return a.begin != b.begin ? a.begin < b.begin : a.end < b.end;
        });
        spans.erase(std::unique(spans.begin(), spans.end()), spans.end());
    }
    return spans;
}
