#pragma once

#include "databaselocation.h"
#include "failure.h"
#include "queryplan.h"
#include "resultrow.h"
#include "searchcancel.h"

#include <QString>

class TermIndexRegistry;

// How a search run ended.
enum class SearchEnd {
    Rows,      // rows found
    NoRows,    // nothing found
    Failed,    // the database or the statement failed
    Cancelled, // the reader abandoned the search: nothing to show
};

// What a search run hands back to whoever shows it: the rows it found, or
// the no-result message, or the failure.
struct SearchOutcome {
    SearchEnd end = SearchEnd::Failed;
    ResultRows rows; // Rows: in statement order
    QString message; // NoRows: the message the reader is shown
    Failure failure; // Failed: number and description, shown once
};

// Runs the statement of a built query on the database at location. Rows
// found: SearchEnd::Rows with the rows. No row: SearchEnd::NoRows with
// noResultMessage(plan.TermsText). A failure of the database or the
// statement: SearchEnd::Failed with it. Shows nothing. With a registry, a
// term index made from the database as it is answers instead of a scan.
// A cancel (may be null) set before the run ends stops it within moments
// (the statement, the Jet reader, the index's confirming read):
// SearchEnd::Cancelled, with no rows, message or failure. Safe to run on a
// worker thread while the registry builds in the background.
SearchOutcome runSearch(const QueryPlan &plan, const DatabaseLocation &location, TermIndexRegistry *index = nullptr,
                        const SearchCancel *cancel = nullptr);
