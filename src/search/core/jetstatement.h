#pragma once

#include "failure.h"
#include "likepattern.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A group of like patterns joined by one operator: all must match, or any.
struct PatternGroup {
    bool all = true;
    std::vector<LikePattern> patterns;
};

// A statement of the collection's query language made ready for SQLite.
struct JetStatement {
    QByteArray sql; // UTF-8; "?1", "?2"... are the pattern groups
    std::vector<std::shared_ptr<PatternGroup>> groups;
    // Translated with candidate filters: the rows a term index allows for
    // group i, bound as "?<1001+i>" (ascending rowids); a null entry lets
    // every row through to the matcher.
    std::vector<std::shared_ptr<const std::vector<std::int64_t>>> candidates;
};

// The rows (ascending rowids) that may match a group, or null for every row.
using CandidateSource = std::function<std::shared_ptr<const std::vector<std::int64_t>>(const PatternGroup &)>;
inline constexpr std::size_t kInlineCandidates = 20000;

// Translates a statement written for the reference engine to SQLite:
//  - "&" is string concatenation; a run of string literals and chr(n)
//    joined by "&" is folded into one literal, so the pattern of a term with
//    apostrophes is a plain string again;
//  - a number directly followed by a word ("1=1order by") is two tokens;
//  - "[date]" and bare "date" both name the column;
//  - a flat chain of "and" (or of "or") clauses "content like '...'" becomes
//    one call of our matcher over all its patterns, so that a query of any
//    number of terms stays within SQLite's expression depth; every pattern
//    is compiled here, so an unreadable one fails even on an empty table.
// With a candidate source (a term index), each matcher call is restricted to
// the rows the source allows for its group: up to kInlineCandidates of them
// as "rowid IN (...)", which SQLite answers by seeking those rows, more of
// them as "tamvex_candidate(rowid, ?(1000+N))", evaluated before the
// matcher so that other rows are passed over without their content being
// read. The neutral constants of the chain ("1=1" in "and", "1=2" in "or")
// are then left out so that SQLite can seek. Rows and their order stay those
// of the statement without a source: the rows are met in rowid order either
// way, and SQLite's sort keeps rows with equal keys in the order met.
// Failures: an unterminated string literal or bracket, chr() outside
// 0..65535, an unreadable like pattern.
Result<JetStatement> translateJetStatement(const QString &statement, const CandidateSource &candidates = {});
