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

// The order of the rows of a statement answered from the catalogue of a
// term index: SQLite's row id order (no ordering clause), or date
// descending with ties in row id order.
enum class RowOrder { RowId, DateDescending };

// Whether a statement lists subject and htm of maindata filtered by at
// most one pattern group and nothing else, so that a term index can answer
// it without SQLite: every record, none, or those of the group.
struct CatalogueForm {
    enum Filter { Everything, Nothing, Group };
    bool fits = false;
    Filter filter = Everything;
    RowOrder order = RowOrder::RowId;
};

// A statement of the collection's query language made ready for SQLite.
struct JetStatement {
    QByteArray sql; // UTF-8; "?1", "?2"... are the pattern groups
    std::vector<std::shared_ptr<PatternGroup>> groups;
    bool allChain = true; // the where chain joins by "and" (or has one member)
    // The statement closes with "order by date": SQLite's row id is to be
    // appended as a second key when maindata has one.
    bool tieBreakByRowid = false;
    // A list of the records without an ordering clause: it is to be ordered
    // by row id when maindata has one, the order of a plain table scan,
    // which an index SQLite might choose instead would change.
    bool orderByRowid = false;
    CatalogueForm catalogue;
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
// Failures: an unterminated string literal or bracket, chr() outside
// 0..65535, an unreadable like pattern.
Result<JetStatement> translateJetStatement(const QString &statement);
