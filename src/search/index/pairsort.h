#pragma once

#include <cstddef>
#include <cstdint>

// Pairs of an index build batch: a key in the high bits, the record's
// ordinal within its batch in the low kOrdinalBits bits.
namespace PairSort {

inline constexpr int kOrdinalBits = 20;
inline constexpr std::uint32_t kOrdinalMask = (std::uint32_t(1) << kOrdinalBits) - 1;

constexpr std::uint64_t pair(std::uint64_t key, std::uint32_t ordinal)
{
    return (key << kOrdinalBits) | ordinal;
}

// Sorts pairs[0, count) by key only, keeping pairs of equal keys in their
// order (a stable radix sort, so ordinals written ascending stay so), then
// drops repeated pairs. Keys are below 2^keyBits (at most 44); scratch must
// hold count pairs. Returns where the result lies (pairs or scratch) and
// sets count to the number kept.
std::uint64_t *sortUnique(std::uint64_t *pairs, std::uint64_t *scratch, std::size_t &count, int keyBits);
}
