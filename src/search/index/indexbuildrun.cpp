#include "indexbuildrun.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {
constexpr std::size_t kLongestVarint = 10;
}

RunCursor::RunCursor(const std::uint8_t *begin, const std::uint8_t *end, TextKeys::Key previous, std::uint32_t base,
                     TextKeys::Key bound)
    : m_p(begin), m_end(end), m_base(base), m_bound(bound), m_key(previous)
{
}

RunCursor::RunCursor(int fd, std::uint64_t offset, std::uint64_t size, TextKeys::Key previous, std::uint32_t base,
                     TextKeys::Key bound, std::size_t bufferBytes)
    : m_fd(fd), m_fileNext(offset), m_fileEnd(offset + size),
      m_buffer(std::size_t(std::clamp<std::uint64_t>(size, 4 * kLongestVarint, std::max(bufferBytes, 4 * kLongestVarint)))),
      m_base(base), m_bound(bound), m_key(previous)
{
    m_p = m_end = m_buffer.data();
}

bool RunCursor::ensure(std::size_t bytes)
{
    if (std::size_t(m_end - m_p) >= bytes || m_fd < 0 || m_fileNext == m_fileEnd)
        return m_p < m_end;
    const std::size_t kept = std::size_t(m_end - m_p);
    std::memmove(m_buffer.data(), m_p, kept);
    m_p = m_buffer.data();
    m_end = m_p + kept;
    const std::size_t want = std::size_t(std::min<std::uint64_t>(m_buffer.size() - kept, m_fileEnd - m_fileNext));
    for (std::size_t got = 0; got < want;) {
        const ssize_t n = ::pread(m_fd, m_buffer.data() + kept + got, want - got, off_t(m_fileNext + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            m_failed = true;
            return false;
        }
        got += std::size_t(n);
    }
    m_fileNext += want;
    m_end += want;
    return true;
}

std::uint64_t RunCursor::readVarint()
{
    std::uint64_t v = 0;
    for (int shift = 0; m_p < m_end && shift < 64; shift += 7) {
        const std::uint8_t b = *m_p++;
        v |= std::uint64_t(b & 0x7F) << shift;
        if (!(b & 0x80))
            return v;
    }
    m_failed = true; // cut short: a damaged scratch file
    return v;
}

bool RunCursor::advance()
{
    if (m_count)
        skipOrdinals();
    if (m_failed || !ensure(2 * kLongestVarint))
        return false;
    m_key += readVarint();
    m_count = readVarint();
    return !m_failed && m_key < m_bound;
}

bool RunCursor::seek(TextKeys::Key from)
{
    bool more = advance();
    while (more && m_key < from)
        more = advance();
    return more;
}

void RunCursor::skipOrdinals()
{
    for (; m_count > 0 && !m_failed; --m_count) {
        if (!ensure(kLongestVarint))
            m_failed = true;
        else
            readVarint();
    }
}

bool RunCursor::appendOrdinals(std::vector<std::uint32_t> &out, std::size_t keyStart)
{
    const std::size_t start = out.size();
    out.resize(start + std::size_t(m_count));
    std::uint32_t *to = out.data() + start;
    std::size_t written = 0;
    std::uint32_t ordinal = 0;
    for (std::uint64_t n = 0; n < m_count; ++n) {
        if (std::size_t(m_end - m_p) < kLongestVarint && !ensure(kLongestVarint)) {
            m_failed = true;
            break;
        }
        // Gaps are mostly below 128: one byte.
        const std::uint8_t b = *m_p;
        if (b < 0x80) {
            ++m_p;
            ordinal += b;
        } else {
            ordinal += std::uint32_t(readVarint());
        }
        const std::uint32_t global = m_base + ordinal;
        if (n == 0 && start > keyStart && out[start - 1] == global)
            continue;
        to[written++] = global;
    }
    out.resize(start + written);
    m_count = 0;
    return !m_failed;
}
