#pragma once

#include <cstddef>
#include <string_view>

// Finds a byte string inside another, fast: a vector filter on two bytes of
// the needle (the second and the last, which for UTF-8 CJK text are
// continuation bytes and so far more selective than lead bytes), confirmed
// with a compare. Uses AVX2 where the processor has it, SSE2 otherwise.
// Case blind for ASCII letters when asked: the needle is then given in
// lower case and matches either case of each of its letters (UTF-8 never
// holds ASCII bytes inside a longer character, so this is exact).
class SubstringFinder {
public:
    explicit SubstringFinder(std::string_view needle, bool asciiCaseBlind = false);

    // Offset of the first occurrence at or after from, or npos. An empty
    // needle is found at from (when from <= haystack size).
    std::size_t find(std::string_view haystack, std::size_t from = 0) const;

    std::string_view needle() const { return m_needle; }

    static constexpr std::size_t npos = std::string_view::npos;

private:
    std::size_t findScalar(std::string_view haystack, std::size_t from) const;

    bool equalAt(const char *at) const;

    std::string_view m_needle;
    bool m_caseBlind = false;
    std::size_t m_first = 0;  // offsets of the two filter bytes
    std::size_t m_second = 0;
};
