#include "pairsort.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace PairSort {
namespace {

constexpr int kMaxDigitBits = 11;

std::size_t dropRepeats(std::uint64_t *pairs, std::size_t count)
{
    if (count == 0)
        return 0;
    std::size_t kept = 1;
    for (std::size_t i = 1; i < count; ++i)
        if (pairs[i] != pairs[kept - 1])
            pairs[kept++] = pairs[i];
    return kept;
}
}

std::uint64_t *sortUnique(std::uint64_t *pairs, std::uint64_t *scratch, std::size_t &count, int keyBits)
{
    keyBits = std::clamp(keyBits, 1, 64 - kOrdinalBits);
    const int digits = (keyBits + kMaxDigitBits - 1) / kMaxDigitBits;
    const int digitBits = (keyBits + digits - 1) / digits;
    const std::size_t buckets = std::size_t(1) << digitBits;
    const std::uint64_t mask = buckets - 1;
    // Every digit's counts in one read of the data.
    std::vector<std::size_t> counts(std::size_t(digits) * buckets, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint64_t key = pairs[i] >> kOrdinalBits;
        for (int d = 0; d < digits; ++d)
            ++counts[std::size_t(d) * buckets + ((key >> (d * digitBits)) & mask)];
    }
    std::uint64_t *from = pairs;
    std::uint64_t *to = scratch;
    for (int d = 0; d < digits && count > 0; ++d) {
        std::size_t *h = counts.data() + std::size_t(d) * buckets;
        const int shift = kOrdinalBits + d * digitBits;
        // A digit that every pair shares moves nothing.
        if (h[(from[0] >> shift) & mask] == count)
            continue;
        std::size_t at = 0;
        for (std::size_t b = 0; b < buckets; ++b)
            at += std::exchange(h[b], at);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint64_t p = from[i];
            to[h[(p >> shift) & mask]++] = p;
        }
        std::swap(from, to);
    }
    count = dropRepeats(from, count);
    return from;
}
}
