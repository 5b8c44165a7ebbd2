#pragma once

#include <cstdint>
#include <vector>

// A set of rowids in ascending order, without repeats.
using RowSet = std::vector<std::int64_t>;

namespace RowSets {
// Rows in both sets.
RowSet intersect(const RowSet &a, const RowSet &b);
// Rows in either set.
RowSet unite(const RowSet &a, const RowSet &b);
// True when the sorted set holds the row (binary search).
bool contains(const RowSet &set, std::int64_t row);
}
