#pragma once

#include "concordance.h"

#include <QString>

#include <cstdint>
#include <vector>

// The orders a concordance can be read in.
enum class ConcordanceSort {
    ResultOrder,  // as the result list, and within a record as the text
    LeftContext,  // by the characters before the hit, read from the hit backwards
    RightContext, // by the hit and the characters after it
    Title,        // by record title
};

// The indexes of every line in the given order; lines that compare equal
// keep the result order.
std::vector<std::uint32_t> sortedLines(const Concordance &concordance, ConcordanceSort sort);

// The lines of order (indexes into concordance.lines) whose left, hit and
// right read together, or whose title, hold filter, ignoring letter case;
// every line of order for an empty filter.
std::vector<std::uint32_t> filteredLines(const Concordance &concordance, const std::vector<std::uint32_t> &order,
                                         const QString &filter);
