#pragma once

#include <QByteArrayView>

#include <array>
#include <string>
#include <vector>

// Code page 950 as the page marker sees it: how page bytes fall into
// characters, and which Unicode character each one stands for. The table is
// built once from the platform's windows-950 converter. It only ever decodes:
// the page's own bytes are copied, never re-encoded, so a character that Big5
// codes twice keeps the code the page used.
class Big5Table {
public:
    // Code page 950 maps into the Basic Multilingual Plane only, so one
    // 16-bit value holds a character. The value of a byte or byte pair that
    // the code page does not map is a lone low surrogate: no decoded
    // character is one, and a term's characters (taken as code points, where
    // a lone surrogate becomes U+FFFD) never are, so it never matches.
    static constexpr char16_t Unmapped = 0xDFFF;

    // The one table of the process, built on first use (thread-safe).
    static const Big5Table &instance();

    static constexpr bool isLead(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }
    static constexpr bool isTrail(unsigned char byte)
    {
        return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
    }

    // Length in bytes (1 or 2) of the character that begins at bytes[at].
    // Takes at < bytes.size(). A lead byte followed by a trail byte is one
    // two-byte character; every other byte, a lone lead byte included, is one.
    static qsizetype characterLength(QByteArrayView bytes, qsizetype at)
    {
        const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
        return (isLead(data[at]) && at + 1 < bytes.size() && isTrail(data[at + 1])) ? 2 : 1;
    }

    // Byte offsets at which the characters of bytes begin, in order.
    static std::vector<qsizetype> characterStarts(QByteArrayView bytes);

    // Unicode of a one-byte character; Unmapped when code page 950 has none.
    char16_t single(unsigned char byte) const { return m_single[byte]; }
    // Unicode of a two-byte character; takes isLead(lead) and isTrail(trail).
    char16_t pair(unsigned char lead, unsigned char trail) const
    {
        return m_pairs[(lead - 0x81) * TrailSpan + (trail - 0x40)];
    }

    // The characters of bytes, one value per character (Unmapped where the
    // code page maps none). For matching only; never written anywhere.
    std::u16string decode(QByteArrayView bytes) const;

private:
    Big5Table();

    static constexpr int TrailSpan = 0xFE - 0x40 + 1;
    std::array<char16_t, 256> m_single {};
    std::vector<char16_t> m_pairs;
};
