#pragma once

#include "rowset.h"
#include "textkeys.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The finished postings of a term index, flat: keys in ascending order, and
// for key i the bytes [offsets[i], offsets[i + 1]) of the blob, which hold
// its rowids in ascending order as varints of the difference to the rowid
// before (the first to 0; differences are taken modulo 2^64, so negative
// rowids work too). The arrays either live in the table itself or in a
// mapped file that the owner keeps open.
class PostingTable {
public:
    PostingTable() = default;

    // A table over arrays the owner keeps alive; offsets has keyCount + 1
    // entries.
    PostingTable(const TextKeys::Key *keys, const std::uint64_t *offsets, std::size_t keyCount,
                 const std::uint8_t *blob, std::shared_ptr<const void> owner);

    // A table that owns its arrays.
    static PostingTable fromVectors(std::vector<TextKeys::Key> keys, std::vector<std::uint64_t> offsets,
                                    std::vector<std::uint8_t> blob);

    // Index of the key, or -1 when no row holds it.
    std::ptrdiff_t find(TextKeys::Key key) const;
    // Encoded size of key i's postings: a cheap measure of how many rows hold it.
    std::size_t byteSize(std::size_t i) const { return std::size_t(m_offsets[i + 1] - m_offsets[i]); }
    // The rowids of key i.
    RowSet rows(std::size_t i) const;

    std::size_t keyCount() const { return m_count; }
    std::size_t blobSize() const { return m_count ? std::size_t(m_offsets[m_count]) : 0; }
    const TextKeys::Key *keys() const { return m_keys; }
    const std::uint64_t *offsets() const { return m_offsets; }
    const std::uint8_t *blob() const { return m_blob; }

private:
    const TextKeys::Key *m_keys = nullptr;
    const std::uint64_t *m_offsets = nullptr;
    std::size_t m_count = 0;
    const std::uint8_t *m_blob = nullptr;
    std::shared_ptr<const void> m_owner;
};

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

// Reads one varint at p and moves p past it.
inline std::uint64_t read(const std::uint8_t *&p)
{
    std::uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        const std::uint8_t b = *p++;
        v |= std::uint64_t(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
    }
}
}
