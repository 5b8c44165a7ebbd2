#pragma once

#include "failure.h"
#include "likepattern.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
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
// With candidateFilters, each matcher call is preceded by
// "tamvex_candidate(rowid, ?(1000+N)) and", so rows outside a term
// index's candidates are passed over without their content being read; the
// statement, its plan and its order are otherwise the same.
// Failures: an unterminated string literal or bracket, chr() outside
// 0..65535, an unreadable like pattern.
Result<JetStatement> translateJetStatement(const QString &statement, bool candidateFilters = false);
