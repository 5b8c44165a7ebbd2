#pragma once

#include <QByteArrayView>

#include <cstdint>
#include <memory>

// A record page cut into the units that search terms are compared with.
// Each text character of the page (code page 950) is a unit holding its
// Unicode value. Markup is one unit of its own whose value matches no term
// character: a tag, a comment, a character reference, and the content of the
// elements whose content the browser does not show as marked-up text
// (script, style, title, textarea). So no term matches inside markup or
// across it, and marks can only ever land between units.
class PageText {
public:
    // The value of a markup unit: a lone surrogate, like Big5Table::Unmapped,
    // so it matches no term character, and distinct from it.
    static constexpr char16_t Markup = 0xDFFE;

    // The largest page that is cut into units (offsets are 32-bit); a larger
    // one is taken as a single markup unit, so nothing in it is ever marked.
    static constexpr qsizetype MaxPageSize = qsizetype(UINT32_MAX) - 1;

    PageText() = default;
    explicit PageText(QByteArrayView page) { cut(page); }

    // Cuts page, replacing what was cut before; the storage is kept for the
    // next page. Every byte belongs to exactly one unit, whatever the bytes
    // are (invalid Big5, NUL bytes, a "<" without ">").
    void cut(QByteArrayView page);

    qsizetype size() const { return m_size; }
    const char16_t *values() const { return m_values.get(); }
    char16_t value(qsizetype unit) const { return m_values[size_t(unit)]; }
    // Byte offset at which unit begins; unitStart(size()) is the page length.
    qsizetype unitStart(qsizetype unit) const { return m_starts[size_t(unit)]; }

private:
    void reserve(qsizetype units);

    std::unique_ptr<char16_t[]> m_values;
    std::unique_ptr<std::uint32_t[]> m_starts;
    qsizetype m_capacity = -1; // none yet: even an empty page needs its end offset
    qsizetype m_size = 0;
};
