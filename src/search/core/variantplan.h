#pragma once

#include "queryplan.h"
#include "varianttable.h"

// The plan of a variant search: the statement of buildQuery for the text in
// which every character with variants became the like set of what it finds
// (variantQueryText); mode and terms text as the reader typed them, so that
// the no-result message quotes the reader's own terms.
// Takes the trimmed query box text.
QueryPlan buildVariantQuery(const QString &trimmedText, const VariantTable &table);
