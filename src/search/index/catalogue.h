#pragma once

#include <cstdint>
#include <vector>

// The records of a collection in result order: ordinal i is the i-th row of
// "select ... from maindata order by date desc, _rowid_". Every posting list
// of the index holds ordinals, so a result is already in the order of the
// all-terms and list-all statements and needs no sort.
struct CatalogueData {
    std::vector<std::int64_t> rowids; // SQLite's own row id, by ordinal
    // subject i is text[offsets[2i], offsets[2i+1]), htm i is
    // text[offsets[2i+1], offsets[2i+2]), both UTF-16 as the result rows
    // show them (a NULL value is empty text).
    std::vector<char16_t> text;
    std::vector<std::uint64_t> offsets; // 2 * rowids.size() + 1 entries
    std::uint64_t contentBytes = 0;     // UTF-8 bytes of content read (progress, figures)

    std::size_t size() const { return rowids.size(); }
};
