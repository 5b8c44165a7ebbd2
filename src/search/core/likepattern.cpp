#include "likepattern.h"

#include "casefolding.h"
#include "utf8rules.h"

#include <QCoreApplication>
#include <QList>
#include <QStringEncoder>

namespace {

Failure invalidPattern(const QString &pattern, const QString &why)
{
    return Failure{FailureNumber::InvalidPattern,
                   QCoreApplication::translate("LikePattern", "Invalid pattern string: %1 in the like pattern '%2'.")
                       .arg(why, pattern.left(200))};
}

// Decodes UTF-8, one U+FFFD per byte that does not start a valid sequence.
void decodeUtf8(std::string_view bytes, std::u32string &out)
{
    // Written by index into a buffer sized once: no growth test per sign.
    out.resize(bytes.size());
    char32_t *to = out.data();
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            *to++ = b;
            ++i;
            continue;
        }
        int len = (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = len == 2 ? (b & 0x1F) : len == 3 ? (b & 0x0F) : (b & 0x07);
        bool valid = len > 0 && i + len <= n;
        for (int k = 1; valid && k < len; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        if (!valid || !Utf8::wellFormed(c, len)) {
            *to++ = U'\uFFFD';
            ++i;
            continue;
        }
        *to++ = c;
        i += len;
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
}

std::u32string toCodePoints(const QString &text)
{
    std::u32string out;
    for (const char32_t c : QStringView(text).toUcs4())
        out.push_back(c);
    return out;
}
}

Result<LikePattern> LikePattern::compile(const QString &pattern)
{
    LikePattern compiled;
    compiled.m_text = pattern;
    const std::u32string cps = toCodePoints(pattern);
    compiled.m_segments.emplace_back();
    for (std::size_t i = 0; i < cps.size(); ++i) {
        const char32_t c = cps[i];
        if (c == U'%') {
            compiled.m_segments.emplace_back();
            continue;
        }
        Element e;
        if (c == U'_') {
            e.kind = Element::AnyOne;
        } else if (c == U'[') {
            std::size_t j = i + 1;
            e.kind = Element::Set;
            if (j < cps.size() && cps[j] == U'!') {
                e.negated = true;
                ++j;
            }
            const std::size_t start = j;
            while (j < cps.size() && cps[j] != U']')
                ++j;
            if (j >= cps.size())
                return invalidPattern(pattern, QCoreApplication::translate("LikePattern", "a \"[\" without its \"]\""));
            std::vector<std::pair<char32_t, char32_t>> ranges;
            for (std::size_t k = start; k < j; ++k) {
                if (k + 2 < j && cps[k + 1] == U'-') {
                    if (cps[k] > cps[k + 2])
                        return invalidPattern(pattern, QCoreApplication::translate("LikePattern", "a range that runs backwards"));
                    ranges.emplace_back(cps[k], cps[k + 2]);
                    k += 2;
                } else {
                    ranges.emplace_back(cps[k], cps[k]);
                }
            }
            i = j;
            if (ranges.empty() && !e.negated)
                continue; // "[]" stands for no character at all
            e.set = std::make_shared<const CharacterSet>(ranges);
            e.ranges = std::move(ranges);
        } else {
            e.ch = CaseFolding::fold(c);
        }
        compiled.m_segments.back().push_back(std::move(e));
    }
    compiled.m_anchorStart = !pattern.startsWith(QLatin1Char('%'));
    compiled.m_anchorEnd = !pattern.endsWith(QLatin1Char('%')) || compiled.m_segments.size() == 1;
    compiled.prepareChecks();
    compiled.preparePlain();
    if (!compiled.m_plain) {
        compiled.prepareRequired();
        compiled.prepareAlternatives();
    }
    return compiled;
}

void LikePattern::prepareChecks()
{
    for (const Segment &segment : m_segments) {
        std::vector<std::size_t> checks;
        for (const Element::Kind kind : {Element::Literal, Element::Set})
            for (std::size_t k = 0; k < segment.size(); ++k)
                if (segment[k].kind == kind)
                    checks.push_back(k);
        m_checks.push_back(std::move(checks));
    }
}

void LikePattern::prepareRequired()
{
    std::u32string best, run;
    const auto close = [&] {
        if (run.size() > best.size())
            best = run;
        run.clear();
    };
    for (const Segment &segment : m_segments) {
        for (const Element &e : segment) {
            // U+FFFD also stands for a byte that is no UTF-8: no byte search.
            if (e.kind == Element::Literal && e.ch != U'\uFFFD' && !(e.ch < 0x80 && isalpha(int(e.ch)))
                && CaseFolding::isCaseless(e.ch))
                run.push_back(e.ch);
            else
                close();
        }
        close();
    }
    if (best.empty())
        return;
    const QByteArray bytes = QString::fromUcs4(best.data(), static_cast<qsizetype>(best.size())).toUtf8();
    m_required = std::make_shared<Piece>(Piece{std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), nullptr});
    m_required->finder = std::make_unique<SubstringFinder>(m_required->bytes);
}

namespace {
bool isAsciiLetter(char32_t c) { return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z'); }
}

void LikePattern::preparePlain()
{
    // A byte search is exact when every piece between "%" signs is a run of
    // literal characters without case variants, and both ends are open. ASCII
    // letters are searched case blind; the only other characters folding to
    // one (the Kelvin sign to "k", the long s to "s") are looked for apart.
    if (m_anchorStart || m_anchorEnd)
        return;
    auto pieces = std::make_shared<std::vector<Piece>>();
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    bool caseBlind = false;
    for (const Segment &segment : m_segments) {
        std::u32string literal;
        for (const Element &e : segment) {
            const bool letter = e.kind == Element::Literal && isAsciiLetter(e.ch);
            if (e.kind != Element::Literal || !(letter || CaseFolding::isCaseless(e.ch)))
                return;
            caseBlind = caseBlind || letter;
            m_foldsKelvin = m_foldsKelvin || e.ch == U'k';
            m_foldsLongS = m_foldsLongS || e.ch == U's';
            literal.push_back(e.ch);
        }
        if (literal.empty())
            continue;
        const QString text = QString::fromUcs4(literal.data(), static_cast<qsizetype>(literal.size()));
        const QByteArray bytes = toUtf8(text);
        pieces->push_back(Piece{std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())), nullptr});
    }
    for (Piece &piece : *pieces)
        piece.finder = std::make_unique<SubstringFinder>(piece.bytes, caseBlind);
    m_pieces = std::move(pieces);
    m_plain = true;
}

// The most members a piece's first position may have to be found by byte
// searches: a variant set has a few.
constexpr std::size_t kMaxSearchedMembers = 8;

void LikePattern::prepareAlternatives()
{
    // Every member is valid UTF-8 and a lead byte never continues another
    // character, so a member's bytes found in the value are that character
    // where the character-wise match sees it too.
    if (m_anchorStart || m_anchorEnd)
        return;
    auto pieces = std::make_shared<std::vector<SetPiece>>();
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (const Segment &segment : m_segments) {
        if (segment.empty())
            continue;
        SetPiece piece;
        for (const Element &e : segment) {
            std::u32string members;
            // U+FFFD also stands for bytes that are not UTF-8: only the
            // character-wise match sees those.
            if (e.kind == Element::Literal && CaseFolding::isCaseless(e.ch) && e.ch != 0xFFFD)
                members.push_back(e.ch);
            else if (e.kind == Element::Set && !e.negated)
                for (const auto &[low, high] : e.ranges) {
                    if (low != high || !CaseFolding::isCaseless(low) || low == 0xFFFD)
                        return;
                    if (members.find(low) == std::u32string::npos)
                        members.push_back(low);
                }
            else
                return;
            std::vector<std::string> encoded;
            for (const char32_t c : members) {
                const QByteArray bytes = toUtf8(QString::fromUcs4(&c, 1));
                encoded.emplace_back(bytes.constData(), std::size_t(bytes.size()));
            }
            if (piece.firsts.empty()) {
                for (std::string &bytes : encoded)
                    piece.firsts.push_back(Piece{std::move(bytes), nullptr});
            } else {
                piece.rest.push_back(std::move(encoded));
            }
        }
        // Each member of the first position is one more pass over the value:
        // a large set (a pasted editorial note in brackets) is looked up
        // character by character instead, at a cost that does not grow with it.
        if (piece.firsts.size() > kMaxSearchedMembers)
            return;
        for (Piece &first : piece.firsts)
            first.finder = std::make_unique<SubstringFinder>(first.bytes, false);
        pieces->push_back(std::move(piece));
    }
    m_alternatives = std::move(pieces);
}

// The later positions of piece from byte at on; at moves past them.
bool LikePattern::setPieceAt(const SetPiece &piece, std::string_view value, std::size_t &at) const
{
    for (const std::vector<std::string> &members : piece.rest) {
        const auto member = std::find_if(members.begin(), members.end(), [&](const std::string &bytes) {
            return value.substr(at, bytes.size()) == bytes;
        });
        if (member == members.end())
            return false;
        at += member->size();
    }
    return true;
}

bool LikePattern::matchesAlternatives(std::string_view value) const
{
    // Leftmost placement of each piece in turn: the first-position members'
    // next occurrences are kept and the leftmost one is tried until the
    // later positions follow it.
    thread_local std::vector<std::size_t> next;
    std::size_t from = 0;
    for (const SetPiece &piece : *m_alternatives) {
        next.resize(piece.firsts.size());
        for (std::size_t i = 0; i < piece.firsts.size(); ++i)
            next[i] = piece.firsts[i].finder->find(value, from);
        for (;;) {
            const std::size_t i = std::size_t(std::min_element(next.begin(), next.end()) - next.begin());
            if (next[i] == SubstringFinder::npos)
                return false;
            std::size_t at = next[i] + piece.firsts[i].bytes.size();
            if (setPieceAt(piece, value, at)) {
                from = at;
                break;
            }
            next[i] = piece.firsts[i].finder->find(value, next[i] + 1);
        }
    }
    return true;
}

std::vector<std::string> LikePattern::plainPieces() const
{
    std::vector<std::string> out;
    if (m_plain)
        for (const Piece &piece : *m_pieces)
            out.push_back(piece.bytes);
    return out;
}

bool LikePattern::matches(std::string_view utf8Value) const
{
    if (m_plain)
        return matchesPlain(utf8Value);
    if (m_alternatives)
        return matchesAlternatives(utf8Value);
    if (m_required && m_required->finder->find(utf8Value) == SubstringFinder::npos)
        return false;
    return matchesFolded(utf8Value);
}

bool LikePattern::matchesPlain(std::string_view value) const
{
    std::size_t from = 0;
    for (const Piece &piece : *m_pieces) {
        const std::size_t at = piece.finder->find(value, from);
        if (at == SubstringFinder::npos)
            return holdsFoldingSigns(value) && matchesFolded(value);
        from = at + piece.bytes.size();
    }
    return true;
}

bool LikePattern::holdsFoldingSigns(std::string_view value) const
{
    static const SubstringFinder kelvin("\xE2\x84\xAA"), longS("\xC5\xBF");
    return (m_foldsKelvin && kelvin.find(value) != SubstringFinder::npos)
        || (m_foldsLongS && longS.find(value) != SubstringFinder::npos);
}

bool LikePattern::matchesFolded(std::string_view value) const
{
    thread_local std::u32string decoded;
    decodeUtf8(value, decoded);
    return matchesDecoded(decoded);
}

bool LikePattern::elementMatches(const Element &e, char32_t raw)
{
    switch (e.kind) {
    case Element::AnyOne:
        return true;
    case Element::Literal:
        // Folded only where a literal asks: most text is never folded.
        return e.ch == raw || e.ch == CaseFolding::fold(raw);
    case Element::Set:
        break;
    }
    return e.set->contains(raw) != e.negated;
}

bool LikePattern::segmentAt(std::size_t s, const std::u32string &raw, std::size_t at) const
{
    const Segment &segment = m_segments[s];
    if (at + segment.size() > raw.size())
        return false;
    for (const std::size_t k : m_checks[s])
        if (!elementMatches(segment[k], raw[at + k]))
            return false;
    return true;
}

bool LikePattern::matchesDecoded(const std::u32string &raw) const
{
    // Every element matches exactly one character, so each segment has a
    // fixed length and the leftmost placement of each segment in turn is
    // always the right one.
    const std::size_t count = m_segments.size();
    std::size_t pos = 0;
    std::size_t endLimit = raw.size();
    std::size_t first = 0;
    std::size_t last = count;
    if (m_anchorStart) {
        if (!segmentAt(0, raw, 0))
            return false;
        pos = m_segments[0].size();
        first = 1;
        if (count == 1)
            return pos == raw.size();
    }
    if (m_anchorEnd && last > first) {
        const Segment &tail = m_segments[count - 1];
        if (tail.size() > raw.size() || raw.size() - tail.size() < pos)
            return false;
        if (!segmentAt(count - 1, raw, raw.size() - tail.size()))
            return false;
        endLimit = raw.size() - tail.size();
        last = count - 1;
    }
    for (std::size_t s = first; s < last; ++s) {
        const Segment &segment = m_segments[s];
        bool found = false;
        for (; pos + segment.size() <= endLimit; ++pos) {
            if (segmentAt(s, raw, pos)) {
                found = true;
                break;
            }
        }
        if (!found)
            return false;
        pos += segment.size();
    }
    return true;
}
