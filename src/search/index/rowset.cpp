#include "rowset.h"

#include <algorithm>
#include <iterator>

namespace RowSets {

RowSet intersect(const RowSet &a, const RowSet &b)
{
    RowSet out;
    out.reserve(std::min(a.size(), b.size()));
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

RowSet unite(const RowSet &a, const RowSet &b)
{
    RowSet out;
    out.reserve(a.size() + b.size());
    std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(out));
    return out;
}

bool contains(const RowSet &set, std::int64_t row)
{
    return std::binary_search(set.begin(), set.end(), row);
}
}
