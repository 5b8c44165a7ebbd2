#pragma once

#include "queryplan.h"

#include <QString>

class SearchHost;

// How a search run ended.
enum class SearchOutcome {
    Rows,    // the list holds the new rows and the first one is displayed
    NoRows,  // nothing found: the reader was told, nothing else changed
    Failed,  // the database or the statement failed: the reader was told
};

// Runs the statement of a built query and fills the host's result list.
// Takes the plan of the query box text, the connection string, and the
// window that owns the list. Rows found: the list is bound to them with the
// search captions, row 1 and column 1 become current, the list gets the
// focus (for a list-all search only when it is on show, and it ends scrolled
// to its top), LastMode becomes the plan's mode and the host displays the
// record last of all. No row: the no-result message is shown and the list,
// its current row and LastMode stay as they were. A failure is shown once
// with its number and description and leaves LastMode as it was.
SearchOutcome runSearchIntoGrid(const QueryPlan &plan, const QString &connectionString, SearchHost &host);
