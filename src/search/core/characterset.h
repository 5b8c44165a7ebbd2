#pragma once

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

// The characters a like set ("[...]") accepts, as a two-level bitmap over
// the first three planes (every character of the collections, letter case
// included): a lookup costs the same whatever the set's size, where trying
// each range in turn made a long pasted set cost per character as much as
// the set is long. The rare code points beyond are found by a binary search
// of the merged ranges (no case exists there).
class CharacterSet {
public:
    // The set of every code point c for which c, its simple case folding,
    // its lower or its upper case lies in one of the ranges (both ends
    // included), the like rules' test for a set member.
    explicit CharacterSet(const std::vector<std::pair<char32_t, char32_t>> &ranges);

    bool contains(char32_t c) const
    {
        if (c > kLastMapped)
            return containsBeyond(c);
        const std::uint64_t *block = m_blocks[m_top[c >> 8]].bits;
        return (block[(c >> 6) & 3] >> (c & 63)) & 1;
    }

private:
    static constexpr char32_t kLastMapped = 0x2FFFF;
    bool containsBeyond(char32_t c) const;
    struct Block {
        std::uint64_t bits[4];
    };
    void add(char32_t c);
    void addRange(char32_t low, char32_t high);

    std::vector<std::uint16_t> m_top; // block of each 256 code points
    std::vector<Block> m_blocks;      // 0: empty, 1: full, then partial ones
    std::vector<std::pair<char32_t, char32_t>> m_beyond; // merged, sorted
};
