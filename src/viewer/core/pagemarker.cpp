#include "pagemarker.h"

#include "pagetext.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace {
// A mark to insert before unit `boundary`, packed so that sorting puts the
// marks in output order: by boundary, closing marks before opening ones.
// Within each kind all marks are alike, so their order among themselves
// (later terms close first, earlier terms open first) needs no record.
using MarkEvent = std::uint64_t;
MarkEvent closeAt(qsizetype boundary) { return MarkEvent(boundary) << 1; }
MarkEvent openAt(qsizetype boundary) { return (MarkEvent(boundary) << 1) | 1; }

// Pages up to this size keep their working storage for the next call on the
// same thread, which spares the allocation and first touch of some megabytes
// for every record shown; a larger page gets storage of its own.
constexpr qsizetype KeptStorageLimit = 16 * 1024 * 1024;

class Marker {
public:
    void start(QByteArrayView page, bool reporting = false)
    {
        m_text.cut(page);
        m_hasMark.assign(size_t(m_text.size()) + 1, 0);
        m_events.clear();
        m_runStarts.clear();
        m_spans.clear();
        m_reporting = reporting;
        m_term = 0;
    }

    // The term that the next apply or applySets is for (its list index).
    void setTerm(int term) { m_term = term; }

    // Finds the occurrences of term in the page as the earlier terms left it:
    // an occurrence may begin or end at an earlier mark but not contain one.
    void apply(const std::u16string &term)
    {
        const size_t runStart = m_events.size();
        const qsizetype length = qsizetype(term.size());
        const qsizetype last = m_text.size() - length;
        const char16_t *values = m_text.values();
        qsizetype at = 0;
        while (at <= last) {
            at = std::find(values + at, values + last + 1, term.front()) - values;
            if (at > last)
                break;
            if (!matchesAt(at, term)) {
                ++at;
                continue;
            }
            markAt(at, length);
            at += length;
        }
        if (m_events.size() > runStart)
            m_runStarts.push_back(runStart);
    }

    // As apply, with a set of accepted values at each position of the term.
    void applySets(const TermSets &term)
    {
        const size_t runStart = m_events.size();
        const qsizetype length = qsizetype(term.size());
        const qsizetype last = m_text.size() - length;
        const char16_t *values = m_text.values();
        const std::u16string &first = term.front();
        for (qsizetype at = 0; at <= last;) {
            if (first.find(values[at]) == std::u16string::npos || !setsMatchAt(at, term)) {
                ++at;
                continue;
            }
            markAt(at, length);
            at += length;
        }
        if (m_events.size() > runStart)
            m_runStarts.push_back(runStart);
    }

    // Every mark made, in document order (see PageMark); call before result.
    void report(QByteArrayView page, QList<PageMark> &marks) const
    {
        std::vector<Span> spans = m_spans;
        std::sort(spans.begin(), spans.end(), [](const Span &a, const Span &b) {
            if (a.open != b.open)
                return a.open < b.open;
            if (a.close != b.close)
                return a.close > b.close;
            return a.term < b.term;
        });
        const std::vector<qsizetype> fonts = pageFontTags(page);
        size_t fontsBefore = 0;
        std::vector<size_t> holders; // the marks that hold the current one
        marks.clear();
        marks.reserve(qsizetype(spans.size()));
        for (const Span &span : spans) {
            while (!holders.empty() && spans[holders.back()].close <= span.open)
                holders.pop_back();
            while (fontsBefore < fonts.size() && fonts[fontsBefore] < span.open)
                ++fontsBefore;
            for (const size_t holder : holders)
                ++marks[qsizetype(holder)].nested;
            PageMark mark;
            mark.term = span.term;
            mark.outermost = holders.empty();
            mark.fontOrdinal = int(fontsBefore + size_t(marks.size()));
            mark.text = QString(reinterpret_cast<const QChar *>(m_text.values() + span.open), span.close - span.open);
            holders.push_back(size_t(marks.size()));
            marks.append(std::move(mark));
        }
    }

    QByteArray result(QByteArrayView page)
    {
        putInOrder();
        const qsizetype pairs = qsizetype(m_events.size() / 2);
        QByteArray out(page.size() + pairs * (OpenMark.size() + CloseMark.size()), Qt::Uninitialized);
        char *to = out.data();
        qsizetype copied = 0;
        for (const MarkEvent event : m_events) {
            const qsizetype byte = m_text.unitStart(qsizetype(event >> 1));
            to = std::copy(page.data() + copied, page.data() + byte, to);
            copied = byte;
            const QByteArrayView mark = event & 1 ? OpenMark : CloseMark;
            to = std::copy(mark.begin(), mark.end(), to);
        }
        std::copy(page.data() + copied, page.data() + page.size(), to);
        return out;
    }

private:
    // Each term's events come out sorted; a few sorted runs merge faster
    // than one sort of them all, many runs (thousands of terms) sort faster.
    void putInOrder()
    {
        if (m_runStarts.size() > 16) {
            std::sort(m_events.begin(), m_events.end());
            return;
        }
        for (size_t run = 1; run < m_runStarts.size(); ++run) {
            const auto middle = m_events.begin() + qsizetype(m_runStarts[run]);
            const auto end = run + 1 < m_runStarts.size() ? m_events.begin() + qsizetype(m_runStarts[run + 1])
                                                          : m_events.end();
            std::inplace_merge(m_events.begin(), middle, end);
        }
    }

    bool matchesAt(qsizetype at, const std::u16string &term) const
    {
        const char16_t *values = m_text.values() + at;
        for (size_t k = 1; k < term.size(); ++k) {
            if (values[k] != term[k] || m_hasMark[size_t(at) + k])
                return false;
        }
        return true;
    }

    void markAt(qsizetype at, qsizetype length)
    {
        m_events.push_back(openAt(at));
        m_events.push_back(closeAt(at + length));
        m_hasMark[size_t(at)] = 1;
        m_hasMark[size_t(at + length)] = 1;
        if (m_reporting)
            m_spans.push_back(Span { at, at + length, m_term });
    }

    bool setsMatchAt(qsizetype at, const TermSets &term) const
    {
        const char16_t *values = m_text.values() + at;
        for (size_t k = 1; k < term.size(); ++k) {
            if (term[k].find(values[k]) == std::u16string::npos || m_hasMark[size_t(at) + k])
                return false;
        }
        return true;
    }

    // True when the markup unit's bytes are a start tag of the element
    // name ("<" + name, then a blank, "/" or ">").
    bool isStartTag(QByteArrayView page, qsizetype unit, QByteArrayView name) const
    {
        const qsizetype at = m_text.unitStart(unit);
        const qsizetype after = at + 1 + name.size();
        if (after >= page.size() || page[at] != '<'
            || page.sliced(at + 1, name.size()).compare(name, Qt::CaseInsensitive) != 0)
            return false;
        const char c = page[after];
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '/' || c == '>';
    }

    // The units that are the page's own font start tags, in order. The
    // content of a script, style, title or textarea is one markup unit
    // after its start tag, and no tag even when it begins like one.
    std::vector<qsizetype> pageFontTags(QByteArrayView page) const
    {
        static constexpr std::array<QByteArrayView, 4> RawText { "script", "style", "title", "textarea" };
        std::vector<qsizetype> fonts;
        const char16_t *values = m_text.values();
        for (qsizetype unit = 0; unit < m_text.size(); ++unit) {
            if (values[unit] != PageText::Markup || !isStartTag(page, unit, "font"))
                continue;
            const bool rawContent = unit > 0 && values[unit - 1] == PageText::Markup
                && std::any_of(RawText.begin(), RawText.end(),
                               [&](QByteArrayView name) { return isStartTag(page, unit - 1, name); });
            if (!rawContent)
                fonts.push_back(unit);
        }
        return fonts;
    }

    struct Span {
        qsizetype open;
        qsizetype close;
        int term;
    };

    PageText m_text;
    std::vector<Span> m_spans;
    bool m_reporting = false;
    int m_term = 0;
    std::vector<std::uint8_t> m_hasMark;
    std::vector<MarkEvent> m_events;
    std::vector<size_t> m_runStarts;
};

// The term as the page's unit values, or nothing when it cannot occur in a
// code page 950 page: a character outside the Basic Multilingual Plane, or
// invalid UTF-16 (a lone surrogate, which toUcs4 turns into U+FFFD, a value
// no page character decodes to).
std::optional<std::u16string> unitsOf(const QString &term)
{
    std::u16string units;
    units.reserve(size_t(term.size()));
    for (const uint character : term.toUcs4()) {
        if (character > 0xFFFF || character == 0xFFFD)
            return std::nullopt;
        units.push_back(char16_t(character));
    }
    return units;
}

QByteArray markWith(Marker &marker, QByteArrayView page, const QStringList &terms, QList<PageMark> *marks)
{
    marker.start(page, marks != nullptr);
    for (qsizetype i = 0; i < terms.size(); ++i) {
        if (terms[i].isEmpty())
            continue;
        marker.setTerm(int(i));
        if (const std::optional<std::u16string> units = unitsOf(terms[i]))
            marker.apply(*units);
    }
    if (marks)
        marker.report(page, *marks);
    return marker.result(page);
}
}

QByteArray markPage(QByteArrayView page, const QStringList &terms)
{
    return markPage(page, terms, nullptr);
}

QByteArray markPage(QByteArrayView page, const QStringList &terms, QList<PageMark> *marks)
{
    if (marks)
        marks->clear();
    const bool anyTerm = std::any_of(terms.begin(), terms.end(), [](const QString &t) { return !t.isEmpty(); });
    if (!anyTerm || page.isEmpty())
        return page.toByteArray();
    if (page.size() > KeptStorageLimit) {
        Marker marker;
        return markWith(marker, page, terms, marks);
    }
    thread_local Marker kept;
    return markWith(kept, page, terms, marks);
}

QByteArray markPage(QByteArrayView page, const QList<TermSets> &terms, QList<PageMark> *marks)
{
    if (marks)
        marks->clear();
    const bool anyTerm = std::any_of(terms.begin(), terms.end(), [](const TermSets &t) { return !t.empty(); });
    if (!anyTerm || page.isEmpty())
        return page.toByteArray();
    Marker marker;
    marker.start(page, marks != nullptr);
    for (qsizetype i = 0; i < terms.size(); ++i) {
        if (terms[i].empty())
            continue;
        marker.setTerm(int(i));
        marker.applySets(terms[i]);
    }
    if (marks)
        marker.report(page, *marks);
    return marker.result(page);
}
