#include "pagetext.h"

#include "big5table.h"

#include <array>
#include <cstring>
#include <string_view>

namespace {
bool isAsciiLetter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isAsciiDigit(unsigned char c) { return c >= '0' && c <= '9'; }
bool isHexDigit(unsigned char c) { return isAsciiDigit(c) || ((c | 0x20) >= 'a' && (c | 0x20) <= 'f'); }
bool isHtmlSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
unsigned char asciiLower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c | 0x20 : c; }

// Elements whose content the browser takes as raw text: a mark inserted there
// would show as literal mark-up (or break a script) instead of a red word.
constexpr std::array<std::string_view, 4> RawTextElements { "script", "style", "title", "textarea" };

// Character references that browsers also decode without the closing ";".
constexpr std::array<std::string_view, 13> LegacyReferences {
    "quot", "nbsp", "copy", "amp", "reg", "lt", "gt", "QUOT", "COPY", "AMP", "REG", "LT", "GT" };

// Finds where markup that begins at a given byte ends. All delimiters are
// ASCII bytes below 0x40, which code page 950 never uses as a trail byte, so
// a byte scan cannot mistake half of a Big5 character for one.
class MarkupScanner {
public:
    explicit MarkupScanner(QByteArrayView page)
        : m_data(reinterpret_cast<const unsigned char *>(page.data())), m_size(page.size()) {}

    // End of the tag or comment that begins with the "<" at at, or at when
    // that "<" is plain text (as a browser reads "a < b").
    qsizetype tagEnd(qsizetype at) const
    {
        if (at + 1 >= m_size)
            return at;
        const unsigned char next = m_data[at + 1];
        if (next == '!' && startsWith(at, "<!--"))
            return commentEnd(at + 4);
        if (next == '!' || next == '?' || next == '/')
            return after(at + 2, '>');
        if (isAsciiLetter(next))
            return startTagEnd(at + 2);
        return at;
    }

    // The raw-text element that the start tag at at opens, or an empty view.
    std::string_view rawTextElement(qsizetype at) const
    {
        for (std::string_view name : RawTextElements) {
            const qsizetype nameEnd = at + 1 + qsizetype(name.size());
            if (startsWithNoCase(at + 1, name)
                && (nameEnd >= m_size || isHtmlSpace(m_data[nameEnd]) || m_data[nameEnd] == '/'
                    || m_data[nameEnd] == '>'))
                return name;
        }
        return {};
    }

    // Start of the end tag of element name, searched from at; the page end
    // when there is none.
    qsizetype rawTextEnd(qsizetype at, std::string_view name) const
    {
        for (qsizetype i = find(at, '<'); i < m_size; i = find(i + 1, '<')) {
            const qsizetype nameEnd = i + 2 + qsizetype(name.size());
            if (i + 1 < m_size && m_data[i + 1] == '/' && startsWithNoCase(i + 2, name)
                && (nameEnd >= m_size || isHtmlSpace(m_data[nameEnd]) || m_data[nameEnd] == '/'
                    || m_data[nameEnd] == '>'))
                return i;
        }
        return m_size;
    }

    // End of the character reference that begins with the "&" at at, or at
    // when it begins none.
    qsizetype referenceEnd(qsizetype at) const
    {
        qsizetype i = at + 1;
        if (i < m_size && m_data[i] == '#') {
            const bool hex = i + 1 < m_size && (m_data[i + 1] | 0x20) == 'x';
            const qsizetype digits = hex ? i + 2 : i + 1;
            qsizetype end = digits;
            while (end < m_size && (hex ? isHexDigit(m_data[end]) : isAsciiDigit(m_data[end])))
                ++end;
            if (end == digits)
                return at;
            return (end < m_size && m_data[end] == ';') ? end + 1 : end;
        }
        qsizetype end = i;
        while (end < m_size && (isAsciiLetter(m_data[end]) || isAsciiDigit(m_data[end])))
            ++end;
        if (end > i && end < m_size && m_data[end] == ';')
            return end + 1;
        for (std::string_view name : LegacyReferences) {
            if (startsWith(i, name))
                return i + qsizetype(name.size());
        }
        return at;
    }

private:
    qsizetype find(qsizetype from, unsigned char byte) const
    {
        if (from >= m_size)
            return m_size;
        const void *hit = std::memchr(m_data + from, byte, size_t(m_size - from));
        return hit ? static_cast<const unsigned char *>(hit) - m_data : m_size;
    }

    // One past the next byte at or after from; the page end when there is none.
    qsizetype after(qsizetype from, unsigned char byte) const
    {
        const qsizetype hit = find(from, byte);
        return hit < m_size ? hit + 1 : m_size;
    }

    // A ">" inside a quoted attribute value does not end the tag.
    qsizetype startTagEnd(qsizetype from) const
    {
        bool valueNext = false;
        for (qsizetype i = from; i < m_size; ++i) {
            const unsigned char c = m_data[i];
            if (c == '>')
                return i + 1;
            if (c == '=') {
                valueNext = true;
            } else if (valueNext && (c == '"' || c == '\'')) {
                i = find(i + 1, c);
                valueNext = false;
            } else if (!isHtmlSpace(c)) {
                valueNext = false;
            }
        }
        return m_size;
    }

    // from is just after "<!--"; "<!-->" and "<!--->" are complete comments.
    qsizetype commentEnd(qsizetype from) const
    {
        if (startsWith(from, ">"))
            return from + 1;
        if (startsWith(from, "->"))
            return from + 2;
        for (qsizetype i = find(from, '-'); i < m_size; i = find(i + 1, '-')) {
            if (startsWith(i, "-->"))
                return i + 3;
            if (startsWith(i, "--!>"))
                return i + 4;
        }
        return m_size;
    }

    bool startsWith(qsizetype at, std::string_view text) const
    {
        return at + qsizetype(text.size()) <= m_size && std::memcmp(m_data + at, text.data(), text.size()) == 0;
    }

    bool startsWithNoCase(qsizetype at, std::string_view lowerText) const
    {
        if (at + qsizetype(lowerText.size()) > m_size)
            return false;
        for (size_t k = 0; k < lowerText.size(); ++k) {
            if (asciiLower(m_data[at + qsizetype(k)]) != static_cast<unsigned char>(lowerText[k]))
                return false;
        }
        return true;
    }

    const unsigned char *m_data;
    qsizetype m_size;
};
}

void PageText::reserve(qsizetype units)
{
    m_size = 0;
    if (units <= m_capacity)
        return;
    m_values = std::make_unique_for_overwrite<char16_t[]>(size_t(units));
    m_starts = std::make_unique_for_overwrite<std::uint32_t[]>(size_t(units) + 1);
    m_capacity = units;
}

void PageText::cut(QByteArrayView page)
{
    const auto *data = reinterpret_cast<const unsigned char *>(page.data());
    const qsizetype size = page.size();
    const Big5Table &table = Big5Table::instance();
    const MarkupScanner scanner(page);
    if (size > MaxPageSize) {
        // Its end offset is never asked for: nothing in it is marked.
        reserve(1);
        m_values[0] = Markup;
        m_starts[0] = 0;
        m_size = 1;
        return;
    }
    reserve(size);

    // Local pointers and count keep the loop in registers.
    char16_t *values = m_values.get();
    std::uint32_t *starts = m_starts.get();
    qsizetype units = 0;
    const auto add = [&](char16_t value, qsizetype start) {
        values[units] = value;
        starts[units] = std::uint32_t(start);
        ++units;
    };
    std::string_view rawElement;
    qsizetype at = 0;
    while (at < size) {
        if (!rawElement.empty()) {
            const qsizetype end = scanner.rawTextEnd(at, rawElement);
            rawElement = {};
            if (end > at)
                add(Markup, at);
            at = end;
            continue;
        }
        const unsigned char c = data[at];
        if (Big5Table::isLead(c) && at + 1 < size && Big5Table::isTrail(data[at + 1])) {
            add(table.pair(c, data[at + 1]), at);
            at += 2;
            continue;
        }
        if (c == '<' || c == '&') {
            const qsizetype end = c == '<' ? scanner.tagEnd(at) : scanner.referenceEnd(at);
            if (end > at) {
                add(Markup, at);
                if (c == '<' && isAsciiLetter(data[at + 1]))
                    rawElement = scanner.rawTextElement(at);
                at = end;
                continue;
            }
        }
        add(table.single(c), at);
        ++at;
    }
    starts[units] = std::uint32_t(size);
    m_size = units;
}
