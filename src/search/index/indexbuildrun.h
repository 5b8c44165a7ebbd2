#pragma once

#include "pairsort.h"
#include "textkeys.h"

#include <QIODevice>

#include <cstddef>
#include <cstdint>
#include <vector>

// A sorted batch of postings as an index build keeps it until the merge:
// for each key in ascending order the varint difference to the previous
// key, the varint count of ordinals, then the ordinals within the batch as
// varint gaps (the first one as it is).
namespace IndexBuildRun {
inline void putVarint(std::vector<std::uint8_t> &out, std::uint64_t v)
{
    while (v >= 0x80) {
        out.push_back(std::uint8_t(v | 0x80));
        v >>= 7;
    }
    out.push_back(std::uint8_t(v));
}

// Appends the encoding of sorted, unique pairs (see PairSort) to out, their
// keys turned into index keys by keyOf (which keeps their order).
template <typename KeyOf>
void encode(const std::uint64_t *pairs, std::size_t count, KeyOf &&keyOf, std::vector<std::uint8_t> &out)
{
    TextKeys::Key previous = 0;
    for (std::size_t i = 0; i < count;) {
        const std::uint64_t dense = pairs[i] >> PairSort::kOrdinalBits;
        std::size_t end = i + 1;
        while (end < count && (pairs[end] >> PairSort::kOrdinalBits) == dense)
            ++end;
        const TextKeys::Key key = keyOf(dense);
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

// Reads one encoded run key by key, from memory or from a scratch file.
class RunCursor {
public:
    // Bytes in memory, kept alive by the caller.
    RunCursor(const std::uint8_t *data, std::size_t size, std::uint32_t base);
    // size bytes at offset of file, read through a buffer of bufferBytes.
    RunCursor(QIODevice *file, std::uint64_t offset, std::uint64_t size, std::uint32_t base, std::size_t bufferBytes);

    // Moves to the next key; false at the end of the run or on a read error.
    bool advance();
    TextKeys::Key key() const { return m_key; }
    // Appends the current key's ordinals, plus the run's base, to out,
    // leaving out a first one equal to out's last (a record split between
    // two runs). False on a read error.
    bool appendOrdinals(std::vector<std::uint32_t> &out);
    bool failed() const { return m_failed; }

private:
    bool ensure(std::size_t bytes);
    std::uint64_t readVarint();

    const std::uint8_t *m_p = nullptr;
    const std::uint8_t *m_end = nullptr;
    QIODevice *m_file = nullptr;
    std::uint64_t m_fileNext = 0; // next byte of the file to buffer
    std::uint64_t m_fileEnd = 0;
    std::vector<std::uint8_t> m_buffer;
    std::uint32_t m_base = 0;
    TextKeys::Key m_key = 0;
    std::uint64_t m_count = 0;
    bool m_failed = false;
};
