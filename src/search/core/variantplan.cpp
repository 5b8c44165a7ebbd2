#include "variantplan.h"

#include "variantquery.h"

QueryPlan buildVariantQuery(const QString &trimmedText, const VariantTable &table)
{
    QueryPlan plan = buildQuery(variantQueryText(trimmedText, table));
    plan.TermsText = buildQuery(trimmedText).TermsText;
    return plan;
}
