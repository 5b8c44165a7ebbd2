#include "casefolding.h"

#include <QChar>

#include <vector>

namespace {
constexpr char32_t kLastCodePoint = 0x10FFFF;
// Letter case exists only in the first two planes; beyond them every code
// point folds to itself alone, so the table stops there (a search process
// builds it at its first pattern, and the whole range took milliseconds).
constexpr char32_t kLastCased = 0x1FFFF;

// One bit per code point of the cased planes: set when another code point
// shares its folding.
const std::vector<bool> &sharedFoldings()
{
    static const std::vector<bool> shared = [] {
        std::vector<unsigned char> count(kLastCased + 1, 0);
        for (char32_t c = 0; c <= kLastCased; ++c) {
            const char32_t f = QChar::toCaseFolded(c);
            if (f <= kLastCased && count[f] < 2)
                ++count[f];
        }
        std::vector<bool> bits(kLastCased + 1, false);
        for (char32_t c = 0; c <= kLastCased; ++c) {
            const char32_t f = QChar::toCaseFolded(c);
            bits[c] = f <= kLastCased && count[f] > 1;
        }
        return bits;
    }();
    return shared;
}
}

namespace CaseFolding {

char32_t fold(char32_t c)
{
    return c > kLastCodePoint ? c : QChar::toCaseFolded(c);
}

bool isCaseless(char32_t c)
{
    if (c < 0x80) {
        return !((c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') || c == U'k' || c == U's'
                 || c == U'K' || c == U'S');
    }
    return c > kLastCased || !sharedFoldings()[c];
}

bool inRangeIgnoringCase(char32_t c, char32_t low, char32_t high)
{
    const auto in = [&](char32_t x) { return x >= low && x <= high; };
    return in(c) || in(fold(c)) || in(QChar::toLower(c)) || in(QChar::toUpper(c));
}
}
