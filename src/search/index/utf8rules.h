#pragma once

// The one rule both the like matcher and the term index decode UTF-8 by.
namespace Utf8 {

// True when code point c, decoded from a sequence of len bytes (2 to 4; a
// single byte is always well formed), is in its shortest form, no surrogate
// and within Unicode.
constexpr bool wellFormed(char32_t c, int len)
{
    switch (len) {
    case 2:
        return c >= 0x80;
    case 3:
        return c >= 0x800 && !(c >= 0xD800 && c <= 0xDFFF);
    case 4:
        return c >= 0x10000 && c <= 0x10FFFF;
    default:
        return true;
    }
}
}
