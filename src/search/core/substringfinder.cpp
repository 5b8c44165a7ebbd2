#include "substringfinder.h"

#include <immintrin.h>

#include <cstring>

namespace {

bool hasAvx2()
{
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

bool isLowerAscii(char c) { return c >= 'a' && c <= 'z'; }

// Or-ed into a haystack byte before it is compared with a needle byte: 0x20
// turns an upper case ASCII letter into its lower case.
char caseMask(char needleByte, bool caseBlind) { return caseBlind && isLowerAscii(needleByte) ? 0x20 : 0; }

// Candidate start positions i with (h[i+a] | ma) == n[a] and
// (h[i+b] | mb) == n[b], 32 at a time; each is confirmed by equal().
template <typename Equal>
__attribute__((target("avx2"))) std::size_t findAvx2(const char *h, std::size_t n, const char *nd, std::size_t m,
                                                     std::size_t a, std::size_t b, char ma, char mb, std::size_t &i,
                                                     const Equal &equal)
{
    const __m256i va = _mm256_set1_epi8(nd[a]);
    const __m256i vb = _mm256_set1_epi8(nd[b]);
    const __m256i ka = _mm256_set1_epi8(ma);
    const __m256i kb = _mm256_set1_epi8(mb);
    for (; i + b + 32 <= n && i + m <= n; i += 32) {
        const __m256i ba = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(h + i + a)), ka);
        const __m256i bb = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(h + i + b)), kb);
        const __m256i eq = _mm256_and_si256(_mm256_cmpeq_epi8(ba, va), _mm256_cmpeq_epi8(bb, vb));
        unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(eq));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (at + m <= n && equal(h + at))
                return at;
            mask &= mask - 1;
        }
    }
    return std::string_view::npos;
}

template <typename Equal>
std::size_t findSse2(const char *h, std::size_t n, const char *nd, std::size_t m, std::size_t a, std::size_t b,
                     char ma, char mb, std::size_t &i, const Equal &equal)
{
    const __m128i va = _mm_set1_epi8(nd[a]);
    const __m128i vb = _mm_set1_epi8(nd[b]);
    const __m128i ka = _mm_set1_epi8(ma);
    const __m128i kb = _mm_set1_epi8(mb);
    for (; i + b + 16 <= n && i + m <= n; i += 16) {
        const __m128i ba = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i + a)), ka);
        const __m128i bb = _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(h + i + b)), kb);
        const __m128i eq = _mm_and_si128(_mm_cmpeq_epi8(ba, va), _mm_cmpeq_epi8(bb, vb));
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(eq));
        while (mask) {
            const std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
            if (at + m <= n && equal(h + at))
                return at;
            mask &= mask - 1;
        }
    }
    return std::string_view::npos;
}

}

SubstringFinder::SubstringFinder(std::string_view needle, bool asciiCaseBlind)
    : m_needle(needle), m_caseBlind(asciiCaseBlind)
{
    if (needle.size() >= 3) {
        m_first = 1;
        m_second = needle.size() - 1;
    } else if (needle.size() == 2) {
        m_first = 0;
        m_second = 1;
    }
}

std::size_t SubstringFinder::find(std::string_view haystack, std::size_t from) const
{
    const std::size_t m = m_needle.size();
    const std::size_t n = haystack.size();
    if (from > n)
        return npos;
    if (m == 0)
        return from;
    if (m > n - from)
        return npos;
    if (m == 1 && !m_caseBlind) {
        const void *hit = std::memchr(haystack.data() + from, m_needle[0], n - from);
        return hit ? static_cast<std::size_t>(static_cast<const char *>(hit) - haystack.data()) : npos;
    }
    std::size_t i = from;
    const char ma = caseMask(m_needle[m_first], m_caseBlind), mb = caseMask(m_needle[m_second], m_caseBlind);
    const auto equal = [this](const char *at) { return equalAt(at); };
    const std::size_t hit = hasAvx2()
        ? findAvx2(haystack.data(), n, m_needle.data(), m, m_first, m_second, ma, mb, i, equal)
        : findSse2(haystack.data(), n, m_needle.data(), m, m_first, m_second, ma, mb, i, equal);
    if (hit != npos)
        return hit;
    return findScalar(haystack, i);
}

bool SubstringFinder::equalAt(const char *at) const
{
    if (!m_caseBlind)
        return std::memcmp(at, m_needle.data(), m_needle.size()) == 0;
    for (std::size_t k = 0; k < m_needle.size(); ++k)
        if (char(at[k] | caseMask(m_needle[k], true)) != m_needle[k])
            return false;
    return true;
}

std::size_t SubstringFinder::findScalar(std::string_view haystack, std::size_t from) const
{
    if (!m_caseBlind) {
        const std::size_t hit = haystack.find(m_needle, from);
        return hit == std::string_view::npos ? npos : hit;
    }
    for (std::size_t i = from; i + m_needle.size() <= haystack.size(); ++i)
        if (equalAt(haystack.data() + i))
            return i;
    return npos;
}
