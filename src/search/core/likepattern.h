#pragma once

#include "characterset.h"
#include "failure.h"
#include "substringfinder.h"

#include <QString>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A compiled like pattern with the rules of the collection's database engine:
// "%" any run of characters (possibly none), "_" exactly one character,
// "[...]" one character of a set with ranges ("[a-c]"), "[!...]" one
// character outside it; letters compare ignoring case (Unicode simple case
// folding). Values are UTF-8 text.
class LikePattern {
public:
    // Compiles a pattern. An unclosed "[" or a range running backwards is a
    // Failure (FailureNumber::InvalidPattern) describing the pattern.
    static Result<LikePattern> compile(const QString &pattern);

    // True when the UTF-8 value matches the whole pattern.
    bool matches(std::string_view utf8Value) const;

    // True for "%" + literal + "%" patterns answered by a byte search (case
    // blind for ASCII letters), and for patterns made of "%" alone.
    bool isPlainSubstring() const { return m_plain; }

    // The literal pieces between "%" signs, as UTF-8, when the pattern is
    // answered by byte searches (isPlainSubstring); empty otherwise.
    std::vector<std::string> plainPieces() const;

    const QString &text() const { return m_text; }

private:
    struct Element {
        enum Kind { Literal, AnyOne, Set } kind = Literal;
        char32_t ch = 0; // folded literal
        bool negated = false;
        std::shared_ptr<const CharacterSet> set; // Set: looked up, not scanned
        std::vector<std::pair<char32_t, char32_t>> ranges; // Set: as written, for the byte search of variants
    };
    using Segment = std::vector<Element>;
    struct Piece {
        std::string bytes;
        std::unique_ptr<SubstringFinder> finder;
    };

    bool matchesDecoded(const std::u32string &value) const;
    bool matchesPlain(std::string_view value) const;
    bool matchesFolded(std::string_view value) const;
    // True when the value holds a sign that folds to one of the pattern's
    // ASCII letters, so that only the folded comparison can tell.
    bool holdsFoldingSigns(std::string_view value) const;
    static bool elementMatches(const Element &e, char32_t raw);
    bool segmentAt(std::size_t segment, const std::u32string &raw, std::size_t at) const;
    void prepareChecks();
    void prepareRequired();
    void preparePlain();
    void prepareAlternatives();
    bool matchesAlternatives(std::string_view value) const;

    QString m_text;
    std::vector<Segment> m_segments; // split at "%"
    // Per segment, the elements that need a look at their character, literals
    // first: a run of "_" is then a fixed skip, never a test per character.
    std::vector<std::vector<std::size_t>> m_checks;
    bool m_anchorStart = true;
    bool m_anchorEnd = true;
    bool m_plain = false;
    bool m_foldsKelvin = false; // a plain pattern holding "k"
    bool m_foldsLongS = false;  // a plain pattern holding "s"
    std::shared_ptr<std::vector<Piece>> m_pieces;
    // The longest run of caseless literals of a pattern with wildcards: a
    // value without these bytes cannot match, and a byte search says so
    // without decoding the value.
    std::shared_ptr<Piece> m_required;
    // A piece of caseless characters and sets of them (a variant search's):
    // byte searches for each member of its first position, then the UTF-8
    // of the members each later position takes.
    struct SetPiece {
        std::vector<Piece> firsts;
        std::vector<std::vector<std::string>> rest;
    };
    bool setPieceAt(const SetPiece &piece, std::string_view value, std::size_t &at) const;
    std::shared_ptr<std::vector<SetPiece>> m_alternatives;
};
