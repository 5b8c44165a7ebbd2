#include "searchrun.h"

#include "contentdatabase.h"
#include "searchmessages.h"

SearchOutcome runSearch(const QueryPlan &plan, const DatabaseLocation &location, TermIndexRegistry *index,
                        const SearchCancel *cancel)
{
    Result<ResultRows> rows = ContentDatabase::runStatement(location, plan.SqlText, index, cancel ? cancel->flag() : nullptr);
    if ((cancel && cancel->cancelled()) || (!rows && isInterrupted(rows.failure())))
        return SearchOutcome{SearchEnd::Cancelled, {}, {}, {}};
    if (!rows)
        return SearchOutcome{SearchEnd::Failed, {}, {}, rows.failure()};
    if (rows->empty())
        return SearchOutcome{SearchEnd::NoRows, {}, noResultMessage(plan.TermsText), {}};
    return SearchOutcome{SearchEnd::Rows, std::move(rows).value(), {}, {}};
}
