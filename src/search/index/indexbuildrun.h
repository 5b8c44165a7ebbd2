#pragma once

#include "pairsort.h"
#include "textkeys.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A sorted batch of postings as an index build keeps it until the merge:
// for each key in ascending order the varint difference to the previous
// key, the varint count of ordinals, then the ordinals within the batch as
// varint gaps (the first one as it is).

// Where a merge can start reading a run: a key's entry at offset, its key
// coded as the difference to previous.
struct RunSkip {
    TextKeys::Key key = 0;
    TextKeys::Key previous = 0;
    std::uint64_t offset = 0;
};
inline constexpr std::size_t kSkipBytes = 4096;

namespace IndexBuildRun {
inline void putVarint(std::vector<std::uint8_t> &out, std::uint64_t v)
{
    while (v >= 0x80) {
        out.push_back(std::uint8_t(v | 0x80));
        v >>= 7;
    }
    out.push_back(std::uint8_t(v));
}

// Appends the encoding of sorted, unique pairs (see PairSort) to out (the
// run starts at out's beginning), their keys turned into index keys by
// keyOf (which keeps their order), and a skip entry about every kSkipBytes.
template <typename KeyOf>
void encode(const std::uint64_t *pairs, std::size_t count, KeyOf &&keyOf, std::vector<std::uint8_t> &out,
            std::vector<RunSkip> &skips)
{
    TextKeys::Key previous = 0;
    std::size_t lastSkip = 0;
    for (std::size_t i = 0; i < count;) {
        const std::uint64_t dense = pairs[i] >> PairSort::kOrdinalBits;
        std::size_t end = i + 1;
        while (end < count && (pairs[end] >> PairSort::kOrdinalBits) == dense)
            ++end;
        const TextKeys::Key key = keyOf(dense);
        if (out.size() >= lastSkip + kSkipBytes) {
            skips.push_back(RunSkip{key, previous, out.size()});
            lastSkip = out.size();
        }
        putVarint(out, key - previous);
        putVarint(out, end - i);
        std::uint32_t last = 0;
        for (; i < end; ++i) {
            const std::uint32_t ordinal = std::uint32_t(pairs[i]) & PairSort::kOrdinalMask;
            putVarint(out, ordinal - last);
            last = ordinal;
        }
        previous = key;
    }
}
}

// Reads the keys of one encoded run from a key on, from memory or from a
// scratch file, up to (not including) a bound key.
class RunCursor {
public:
    // Bytes [begin, end) of a run in memory, kept alive by the caller,
    // starting at a key entry whose key is coded against previous.
    RunCursor(const std::uint8_t *begin, const std::uint8_t *end, TextKeys::Key previous, std::uint32_t base, TextKeys::Key bound);
    // The same from bytes [offset, offset + size) of an open file
    // descriptor, read through a buffer (safe beside other cursors).
    RunCursor(int fd, std::uint64_t offset, std::uint64_t size, TextKeys::Key previous, std::uint32_t base,
              TextKeys::Key bound, std::size_t bufferBytes);

    // Moves to the next key below the bound; false past it, at the end of
    // the bytes or on a read error.
    bool advance();
    // Moves to the first key not below `from`; false as advance().
    bool seek(TextKeys::Key from);
    TextKeys::Key key() const { return m_key; }
    // Appends the current key's ordinals, plus the run's base, to out, where
    // this key's list began at keyStart, leaving out a first one equal to
    // the list's last (a record split between two runs). False on a read
    // error.
    bool appendOrdinals(std::vector<std::uint32_t> &out, std::size_t keyStart);
    bool failed() const { return m_failed; }

private:
    bool ensure(std::size_t bytes);
    std::uint64_t readVarint();
    void skipOrdinals();

    const std::uint8_t *m_p = nullptr;
    const std::uint8_t *m_end = nullptr;
    int m_fd = -1;
    std::uint64_t m_fileNext = 0; // next byte of the file to buffer
    std::uint64_t m_fileEnd = 0;
    std::vector<std::uint8_t> m_buffer;
    std::uint32_t m_base = 0;
    TextKeys::Key m_bound = 0;
    TextKeys::Key m_key = 0;
    std::uint64_t m_count = 0;
    bool m_failed = false;
};
