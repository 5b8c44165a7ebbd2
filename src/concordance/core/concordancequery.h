#pragma once

#include "failure.h"
#include "likepattern.h"
#include "likespans.h"
#include "queryplan.h"

#include <QString>
#include <QStringList>

class VariantTable;

#include <string_view>
#include <vector>

// The terms of a query as the search takes them from the query box, made
// ready to find the search's records and every occurrence in their content.
class ConcordanceQuery {
public:
    // Trims the text and reads its mode and terms as the search does (a
    // prefix "-" or "+", terms between single blanks, apostrophes literal).
    // With variants, as the variant search takes it: each character with
    // variants finds every form of the table, and a hit is the form printed.
    // Failure: a term the like rules cannot read (InvalidPattern).
    static Result<ConcordanceQuery> fromQueryText(const QString &queryText, const VariantTable *variants = nullptr);

    SearchMode mode() const { return m_mode; }
    // False for a query that lists every record or has no term at all.
    bool hasTerms() const { return !m_patterns.empty(); }
    // Each term's like pattern ("%" + term + "%"), as the statement has it:
    // what the term index answers.
    QStringList patternTexts() const;

    // Whether a record with this (non-NULL, UTF-8) content is in the
    // search's result: every term or, with "+", one of them.
    bool inResult(std::string_view content) const;

    // Every occurrence of any term, by beginning and then by end; the same
    // stretch matched by two terms is given once.
    std::vector<LikeSpanFinder::Span> occurrences(std::string_view content) const;

private:
    SearchMode m_mode = SearchMode::ListAll;
    std::vector<LikePattern> m_patterns;
    std::vector<LikeSpanFinder> m_finders;
};
