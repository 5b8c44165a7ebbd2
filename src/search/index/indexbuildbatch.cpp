#include "indexbuildbatch.h"

#include "indexbuildrun.h"
#include "pairsort.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <new>

namespace {
// Decoded code points stay below 2^21 (a four-byte sequence holds 21 bits).
constexpr std::size_t kCodePoints = std::size_t(1) << 21;
}

void IndexBatch::Free::operator()(std::uint32_t *p) const
{
    std::free(p);
}

IndexBatch::IndexBatch(std::size_t capacity)
    : m_capacity(std::max<std::size_t>(capacity, 2)), m_chars(m_capacity), m_pairs(2 * m_capacity), m_scratch(2 * m_capacity)
{
    // calloc leaves the pages of unused code points untouched.
    m_rank.reset(static_cast<std::uint32_t *>(std::calloc(kCodePoints, sizeof(std::uint32_t))));
    if (!m_rank)
        throw std::bad_alloc();
}

std::size_t IndexBatch::emitPairs()
{
    const std::uint64_t d = m_distinct.size();
    const std::uint64_t content = d + d * d;
    std::uint64_t *out = m_pairs.data();
    std::size_t n = 0;
    // A character repeated in a record needs one pair only: the record
    // (plus one) that last had each rank.
    m_lastRecord.assign(d, 0);
    for (std::size_t r = 0; r < m_records.size(); ++r) {
        const std::uint32_t ordinal = m_records[r].ordinal;
        const std::size_t end = r + 1 < m_records.size() ? m_records[r + 1].start : m_charCount;
        out[n++] = PairSort::pair(content, ordinal);
        std::uint64_t previous = 0;
        for (std::size_t i = m_records[r].start; i < end; ++i) {
            const std::uint64_t rank = m_rank[m_chars[i]];
            if (m_lastRecord[rank] != r + 1) {
                m_lastRecord[rank] = std::uint32_t(r + 1);
                out[n++] = PairSort::pair(rank, ordinal);
            }
            if (i > m_records[r].start)
                out[n++] = PairSort::pair(d + previous * d + rank, ordinal);
            previous = rank;
        }
    }
    return n;
}

void IndexBatch::takeRun(std::vector<std::uint8_t> &out, std::vector<RunSkip> &skips, bool continueRecord)
{
    std::sort(m_distinct.begin(), m_distinct.end());
    for (std::size_t i = 0; i < m_distinct.size(); ++i)
        m_rank[m_distinct[i]] = std::uint32_t(i);
    std::size_t count = emitPairs();
    m_pairsSorted += count;
    const std::uint64_t d = m_distinct.size();
    const std::uint64_t *sorted = PairSort::sortUnique(m_pairs.data(), m_scratch.data(), count, std::bit_width(d + d * d));
    IndexBuildRun::encode(sorted, count, [&](std::uint64_t dense) {
        if (dense < d)
            return TextKeys::unigram(m_distinct[dense]);
        if (dense < d + d * d)
            return TextKeys::bigram(m_distinct[(dense - d) / d], m_distinct[(dense - d) % d]);
        return TextKeys::kContentKey;
    }, out, skips);

    const bool goesOn = continueRecord && !m_records.empty();
    const std::uint32_t ordinal = goesOn ? m_records.back().ordinal : 0;
    const bool hasLast = goesOn && m_charCount > m_records.back().start;
    const char32_t last = hasLast ? m_chars[m_charCount - 1] : 0;
    for (const char32_t c : m_distinct)
        m_rank[c] = 0;
    m_distinct.clear();
    m_records.clear();
    m_charCount = 0;
    if (goesOn) {
        startRecord(ordinal);
        if (hasLast)
            addChar(last);
    }
}
