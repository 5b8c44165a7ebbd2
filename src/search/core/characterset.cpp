#include "characterset.h"

#include "casefolding.h"

#include <QChar>

namespace {
constexpr std::uint16_t kEmpty = 0;
constexpr std::uint16_t kFull = 1;

// Code points some case variant of which differs from themselves; letter
// case exists only in the first two planes.
const std::vector<char32_t> &casedCodePoints()
{
    static const std::vector<char32_t> cased = [] {
        std::vector<char32_t> out;
        for (char32_t c = 0; c <= 0x1FFFF; ++c)
            if (CaseFolding::fold(c) != c || QChar::toLower(c) != c || QChar::toUpper(c) != c)
                out.push_back(c);
        return out;
    }();
    return cased;
}
}

CharacterSet::CharacterSet(const std::vector<std::pair<char32_t, char32_t>> &ranges)
    : m_top((kLastMapped >> 8) + 1, kEmpty), m_blocks{Block{{0, 0, 0, 0}}, Block{{~0ull, ~0ull, ~0ull, ~0ull}}}
{
    for (const auto &[low, high] : ranges) {
        if (low <= kLastMapped)
            addRange(low, std::min(high, kLastMapped));
        if (high > kLastMapped)
            m_beyond.emplace_back(std::max(low, char32_t(kLastMapped + 1)), high);
    }
    std::sort(m_beyond.begin(), m_beyond.end());
    std::vector<std::pair<char32_t, char32_t>> merged;
    for (const auto &range : m_beyond) {
        if (!merged.empty() && range.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    m_beyond = std::move(merged);
    // The case variants are looked up in the ranges alone: a character is in
    // when one of its variants is, not a variant of a variant.
    const CharacterSet raw = *this;
    for (const char32_t c : casedCodePoints()) {
        if (raw.contains(c))
            continue;
        if (raw.contains(CaseFolding::fold(c)) || raw.contains(QChar::toLower(c)) || raw.contains(QChar::toUpper(c)))
            add(c);
    }
}

bool CharacterSet::containsBeyond(char32_t c) const
{
    const auto after = std::upper_bound(m_beyond.begin(), m_beyond.end(), std::pair<char32_t, char32_t>(c, ~char32_t(0)));
    return after != m_beyond.begin() && c <= std::prev(after)->second;
}

void CharacterSet::add(char32_t c)
{
    std::uint16_t &index = m_top[c >> 8];
    if (index == kFull)
        return;
    if (index == kEmpty) {
        index = static_cast<std::uint16_t>(m_blocks.size());
        m_blocks.push_back(Block{{0, 0, 0, 0}});
    }
    m_blocks[index].bits[(c >> 6) & 3] |= std::uint64_t(1) << (c & 63);
}

void CharacterSet::addRange(char32_t low, char32_t high)
{
    for (char32_t c = low; c <= high;) {
        if ((c & 0xFF) == 0 && c + 0xFF <= high) {
            m_top[c >> 8] = kFull; // a whole block: shared, no bits of its own
            c += 0x100;
            continue;
        }
        add(c);
        ++c;
    }
}
