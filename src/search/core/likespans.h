#pragma once

#include "failure.h"
#include "substringfinder.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Where a search term occurs inside a text, by the like rules of the search
// (LikePattern): "%" any run, "_" one character, "[...]" and "[!...]" sets,
// letters compared by Unicode simple case folding. A term is what the
// search wraps in "%" on both sides, so its own leading and trailing "%"
// change nothing and are left out of a span.
class LikeSpanFinder {
public:
    // A stretch of UTF-8 text as byte offsets [begin, end).
    struct Span {
        std::size_t begin = 0;
        std::size_t end = 0;
        bool operator==(const Span &) const = default;
    };

    // Compiles a term. Failure: what LikePattern::compile reports for
    // "%" + term + "%" (an unclosed "[", a range that runs backwards).
    static Result<LikeSpanFinder> compile(const QString &term);

    // Every place where the term matches, by beginning: one span for each
    // character at which a match begins, the shortest match from there, so
    // that overlapping occurrences are all given. Matches of no characters
    // (an empty term, or "%" alone) give nothing.
    std::vector<Span> find(std::string_view utf8) const;

private:
    struct Element {
        enum Kind { Literal, AnyOne, Set } kind = Literal;
        char32_t ch = 0; // folded literal
        bool negated = false;
        std::vector<std::pair<char32_t, char32_t>> ranges;
    };
    using Segment = std::vector<Element>;

    std::vector<Span> findPlain(std::string_view utf8) const;
    std::vector<Span> findDecoded(std::string_view utf8) const;
    bool mayHoldFoldingSigns(std::string_view utf8) const;

    std::vector<Segment> m_segments; // split at "%"
    // A term of literal characters without case variants beyond ASCII is
    // looked for as bytes.
    std::shared_ptr<const std::string> m_plainBytes;
    std::shared_ptr<const SubstringFinder> m_plainFinder;
    bool m_foldsKelvin = false;
    bool m_foldsLongS = false;
};
