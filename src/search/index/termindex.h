#pragma once

#include "postingtable.h"
#include "rowset.h"

#include <QString>
#include <QStringList>

#include <optional>

// Candidate rows for like patterns, from the postings of folded single
// characters and character pairs. Candidates are a superset of the rows
// whose content matches: the matcher still confirms every one of them.
class TermIndex {
public:
    explicit TermIndex(PostingTable table) : m_table(std::move(table)) {}

    // Rows that may match the pattern: those holding every literal run of
    // it (a run of one character by its posting, a longer one by the
    // postings of its pairs). nullopt when the pattern has no literal run,
    // so every non-NULL row may match.
    std::optional<RowSet> patternCandidates(const QString &pattern) const;

    // Rows that may match a group of patterns joined by "and" (all) or "or".
    // All: the rows every filtering pattern allows; nullopt when no pattern
    // filters. Any: the rows some pattern allows; nullopt as soon as one
    // pattern filters nothing.
    std::optional<RowSet> groupCandidates(bool all, const QStringList &patterns) const;

    const PostingTable &table() const { return m_table; }

private:
    RowSet runCandidates(const std::u32string &run) const;

    PostingTable m_table;
};
