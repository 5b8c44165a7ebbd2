#include "likespans.h"

#include "casefolding.h"
#include "likepattern.h"
#include "utf8rules.h"

#include <QList>
#include <QStringEncoder>

#include <algorithm>

namespace {

bool isAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }

// Decodes UTF-8 as the matcher does (one U+FFFD for each byte that starts
// no valid sequence) and keeps where each character begins; starts holds
// one more entry, the end of the text.
void decodeWithOffsets(std::string_view bytes, std::u32string &raw, std::vector<std::size_t> &starts)
{
    raw.clear();
    starts.clear();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        const int len = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = len == 1 ? b : len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool valid = len > 0 && i + std::size_t(len) <= n;
        for (int k = 1; valid && k < len; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        starts.push_back(i);
        if (!valid || !Utf8::wellFormed(c, len)) {
            raw.push_back(U'\uFFFD');
            ++i;
            continue;
        }
        raw.push_back(c);
        i += std::size_t(len);
    }
    starts.push_back(n);
}
}

Result<LikeSpanFinder> LikeSpanFinder::compile(const QString &term)
{
    // The search's own compile tells a readable term from an unreadable one.
    const auto checked = LikePattern::compile(QLatin1Char('%') + term + QLatin1Char('%'));
    if (!checked.ok())
        return checked.failure();
    QStringView inner(term);
    while (inner.startsWith(QLatin1Char('%')))
        inner = inner.mid(1);
    while (inner.endsWith(QLatin1Char('%')))
        inner.chop(1);
    const QList<uint> cps = inner.toUcs4();
    LikeSpanFinder finder;
    finder.m_segments.emplace_back();
    for (qsizetype i = 0; i < cps.size(); ++i) {
        const char32_t c = cps[i];
        if (c == U'%') {
            finder.m_segments.emplace_back();
            continue;
        }
        Element e;
        if (c == U'_') {
            e.kind = Element::AnyOne;
        } else if (c == U'[') {
            qsizetype j = i + 1;
            e.kind = Element::Set;
            if (j < cps.size() && cps[j] == U'!') {
                e.negated = true;
                ++j;
            }
            const qsizetype start = j;
            while (j < cps.size() && cps[j] != U']')
                ++j;
            for (qsizetype k = start; k < j; ++k) {
                if (k + 2 < j && cps[k + 1] == U'-') {
                    e.ranges.emplace_back(cps[k], cps[k + 2]);
                    k += 2;
                } else {
                    e.ranges.emplace_back(cps[k], cps[k]);
                }
            }
            i = j;
            if (e.ranges.empty() && !e.negated)
                continue; // "[]" stands for no character at all, as in the search
        } else {
            e.ch = CaseFolding::fold(c);
        }
        finder.m_segments.back().push_back(std::move(e));
    }
    // An empty segment (from "%%", or "[]" next to "%") is one more "%";
    // a term of no segment at all matches no character.
    std::erase_if(finder.m_segments, [](const Segment &segment) { return segment.empty(); });
    if (finder.m_segments.size() == 1) {
        std::u32string literal;
        bool caseBlind = false;
        for (const Element &e : finder.m_segments.front()) {
            const bool letter = e.kind == Element::Literal && isAsciiLetter(e.ch);
            if (e.kind != Element::Literal || !(letter || CaseFolding::isCaseless(e.ch)))
                return finder;
            caseBlind = caseBlind || letter;
            finder.m_foldsKelvin = finder.m_foldsKelvin || e.ch == U'k';
            finder.m_foldsLongS = finder.m_foldsLongS || e.ch == U's';
            literal.push_back(e.ch);
        }
        if (literal.empty())
            return finder;
        QStringEncoder toUtf8(QStringEncoder::Utf8);
        const QByteArray bytes = toUtf8(QString::fromUcs4(literal.data(), qsizetype(literal.size())));
        auto plain = std::make_shared<const std::string>(bytes.constData(), std::size_t(bytes.size()));
        finder.m_plainFinder = std::make_shared<const SubstringFinder>(*plain, caseBlind);
        finder.m_plainBytes = std::move(plain);
    }
    return finder;
}

std::vector<LikeSpanFinder::Span> LikeSpanFinder::find(std::string_view utf8) const
{
    if (m_plainFinder && !mayHoldFoldingSigns(utf8))
        return findPlain(utf8);
    return findDecoded(utf8);
}

bool LikeSpanFinder::mayHoldFoldingSigns(std::string_view utf8) const
{
    // The Kelvin sign folds to "k" and the long s to "s": only a decoded
    // comparison sees them.
    return (m_foldsKelvin && utf8.find("\xE2\x84\xAA") != std::string_view::npos)
        || (m_foldsLongS && utf8.find("\xC5\xBF") != std::string_view::npos);
}

std::vector<LikeSpanFinder::Span> LikeSpanFinder::findPlain(std::string_view utf8) const
{
    std::vector<Span> spans;
    const std::size_t length = m_plainBytes->size();
    // The needle is whole UTF-8, so it is only ever found at a character's
    // first byte; the next search may start one byte on.
    for (std::size_t at = m_plainFinder->find(utf8, 0); at != SubstringFinder::npos;
         at = m_plainFinder->find(utf8, at + 1))
        spans.push_back(Span{at, at + length});
    return spans;
}

namespace {
template <typename E>
bool elementMatches(const E &e, char32_t folded, char32_t raw)
{
    if (e.kind == E::AnyOne)
        return true;
    if (e.kind == E::Literal)
        return e.ch == folded;
    bool inSet = false;
    for (const auto &[low, high] : e.ranges)
        inSet = inSet || CaseFolding::inRangeIgnoringCase(raw, low, high);
    return inSet != e.negated;
}

template <typename S>
bool segmentAt(const S &segment, const std::u32string &folded, const std::u32string &raw, std::size_t at)
{
    if (at + segment.size() > folded.size())
        return false;
    for (std::size_t k = 0; k < segment.size(); ++k)
        if (!elementMatches(segment[k], folded[at + k], raw[at + k]))
            return false;
    return true;
}
}

std::vector<LikeSpanFinder::Span> LikeSpanFinder::findDecoded(std::string_view utf8) const
{
    std::vector<Span> spans;
    if (m_segments.empty())
        return spans;
    std::u32string raw;
    std::vector<std::size_t> starts;
    decodeWithOffsets(utf8, raw, starts);
    std::u32string folded(raw.size(), U'\0');
    for (std::size_t i = 0; i < raw.size(); ++i)
        folded[i] = CaseFolding::fold(raw[i]);
    const Segment &head = m_segments.front();
    for (std::size_t begin = 0; begin < raw.size(); ++begin) {
        if (!segmentAt(head, folded, raw, begin))
            continue;
        // Every element is one character, so the leftmost placement of each
        // later segment gives the shortest match from this beginning; once a
        // segment has no placement, no later beginning has one either.
        std::size_t pos = begin + head.size();
        bool found = true;
        for (std::size_t s = 1; found && s < m_segments.size(); ++s) {
            const Segment &segment = m_segments[s];
            while (pos + segment.size() <= raw.size() && !segmentAt(segment, folded, raw, pos))
                ++pos;
            found = pos + segment.size() <= raw.size();
            pos += segment.size();
        }
        if (!found)
            break;
        spans.push_back(Span{starts[begin], starts[pos]});
    }
    return spans;
}
