#include "textkeys.h"

#include "utf8rules.h"

#include <QChar>

namespace TextKeys {

char32_t fold(char32_t c)
{
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + 32 : c;
    return c > 0x10FFFF ? c : QChar::toCaseFolded(c);
}

char32_t nextCodePoint(std::string_view bytes, std::size_t &i)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t n = bytes.size();
    const unsigned char b = p[i];
    if (b < 0x80) {
        ++i;
        return b;
    }
    const int len = (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
    char32_t c = len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
    bool valid = len > 0 && i + len <= n;
    for (int k = 1; valid && k < len; ++k) {
        valid = (p[i + k] & 0xC0) == 0x80;
        c = (c << 6) | (p[i + k] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not
    // characters: each of their bytes reads as U+FFFD, as a byte search for
    // a character's own encoding sees them.
    if (!valid || !Utf8::wellFormed(c, len)) {
        ++i;
        return U'\uFFFD';
    }
    i += len;
    return c;
}
}
