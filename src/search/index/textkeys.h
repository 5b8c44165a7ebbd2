#pragma once

#include <cstdint>
#include <string_view>

// The keys of the term index: single code points and pairs of neighbouring
// code points, both after Unicode simple case folding. Text is decoded the
// way the like matcher decodes it (one U+FFFD for every byte that does not
// start a valid UTF-8 sequence), so a character the matcher sees in a value
// is always a character the index saw.
namespace TextKeys {

using Key = std::uint64_t;

// Simple case folding of a code point (itself beyond U+10FFFF).
char32_t fold(char32_t c);

// The key of one folded code point, and of a pair of folded code points.
constexpr Key unigram(char32_t c) { return Key(c); }
constexpr Key bigram(char32_t a, char32_t b) { return (Key(1) << 42) | (Key(a) << 21) | Key(b); }
// The key every record with non-NULL content holds (the pattern "%%"):
// above every character and pair key.
constexpr Key kContentKey = Key(1) << 43;

// Decodes the code point at bytes[i] and moves i past it.
char32_t nextCodePoint(std::string_view bytes, std::size_t &i);

// Calls visit(folded code point) for every character of a UTF-8 value.
template <typename Visit>
void forEachFolded(std::string_view bytes, Visit &&visit)
{
    for (std::size_t i = 0; i < bytes.size();)
        visit(fold(nextCodePoint(bytes, i)));
}
}
