#pragma once

#include <roaring/roaring.hh>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Unsigned integers in 7-bit groups (index files).
namespace Varint {
// Appends v in 7-bit groups, low first, high bit set on all but the last.
inline void append(std::string &out, std::uint64_t v)
{
    while (v >= 0x80) {
        out.push_back(char((v & 0x7F) | 0x80));
        v >>= 7;
    }
    out.push_back(char(v));
}

// Reads one varint that must end before end; false when it does not.
inline bool readWithin(const std::uint8_t *&p, const std::uint8_t *end, std::uint64_t &v)
{
    v = 0;
    for (int shift = 0; p < end; shift += 7) {
        const std::uint8_t b = *p++;
        if (shift < 64)
            v |= std::uint64_t(b & 0x7F) << shift;
        if (!(b & 0x80))
            return true;
    }
    return false;
}
}

// How the ordinals of one key are stored: short lists as varint gaps,
// longer ones as Rice-coded gaps (a few bits each) or, where smaller, as a
// run-optimised Roaring bitmap.
namespace PostingCodec {

// Lists of at least this many ordinals are Rice coded, and from the second
// count on stored as bitmaps when that is smaller.
inline constexpr std::size_t kRiceFrom = 8;
inline constexpr std::size_t kBitmapFrom = 512;

// Appends the encoding of count ascending, unique ordinals.
void encode(const std::uint32_t *ordinals, std::size_t count, std::string &out);

// Decodes one encoded list; nullopt when the bytes are not a well-formed
// list (a damaged file).
std::optional<Roaring> decode(const char *bytes, std::size_t size);
}
