#include "casefolding.h"

#include <QChar>

#include <vector>

namespace {
constexpr char32_t kLastCodePoint = 0x10FFFF;

// One bit per code point: set when another code point shares its folding.
const std::vector<bool> &sharedFoldings()
{
    static const std::vector<bool> shared = [] {
        std::vector<unsigned char> count(kLastCodePoint + 1, 0);
        for (char32_t c = 0; c <= kLastCodePoint; ++c) {
            const char32_t f = QChar::toCaseFolded(c);
            if (count[f] < 2)
                ++count[f];
        }
        std::vector<bool> bits(kLastCodePoint + 1, false);
        for (char32_t c = 0; c <= kLastCodePoint; ++c)
            bits[c] = count[QChar::toCaseFolded(c)] > 1;
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
    return c > kLastCodePoint || !sharedFoldings()[c];
}

bool inRangeIgnoringCase(char32_t c, char32_t low, char32_t high)
{
    const auto in = [&](char32_t x) { return x >= low && x <= high; };
    return in(c) || in(fold(c)) || in(QChar::toLower(c)) || in(QChar::toUpper(c));
}
}
