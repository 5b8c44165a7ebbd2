#pragma once

#include "concordance.h"
#include "databaselocation.h"
#include "failure.h"

#include <QString>

class TermIndexRegistry;
class VariantTable;

// How making a concordance ended.
enum class ConcordanceEnd {
    Lines,   // occurrences found
    NoQuery, // the query lists every record or has no term: nothing to look for
    NoLines, // the query's terms occur nowhere
    Failed,  // the database could not be read, or a term not compiled
};

struct ConcordanceOutcome {
    ConcordanceEnd end = ConcordanceEnd::Failed;
    Concordance concordance; // Lines: the lines in result order
    Failure failure;         // Failed
};

// Reads the content of the records the query finds in the database at
// location, in the result list's order (date descending with ties by row
// id, or row id order for "+"), and makes a line for every occurrence of its
// terms with width characters each side. The database is opened read-only
// as the search opens it (SQLite file or Jet file); no statement text is
// made from the query. With variants, the terms are read as the variant
// search reads them (ConcordanceQuery::fromQueryText). With index, an SQLite
// file that has an index made from it as it is now is read through it
// (readConcordanceWithIndex): the same lines. Shows nothing.
ConcordanceOutcome readConcordance(const DatabaseLocation &location, const QString &queryText, int width,
                                   const VariantTable *variants = nullptr, TermIndexRegistry *index = nullptr);
