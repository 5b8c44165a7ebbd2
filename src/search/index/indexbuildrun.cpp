#include "indexbuildrun.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t kLongestVarint = 10;
}

RunCursor::RunCursor(const std::uint8_t *data, std::size_t size, std::uint32_t base)
    : m_p(data), m_end(data + size), m_base(base)
{
}

RunCursor::RunCursor(QIODevice *file, std::uint64_t offset, std::uint64_t size, std::uint32_t base, std::size_t bufferBytes)
    : m_file(file), m_fileNext(offset), m_fileEnd(offset + size), m_buffer(std::max(bufferBytes, 4 * kLongestVarint)), m_base(base)
{
    m_p = m_end = m_buffer.data();
}

bool RunCursor::ensure(std::size_t bytes)
{
    if (std::size_t(m_end - m_p) >= bytes || !m_file || m_fileNext == m_fileEnd)
        return m_p < m_end;
    const std::size_t kept = std::size_t(m_end - m_p);
    std::memmove(m_buffer.data(), m_p, kept);
    const std::size_t want = std::size_t(std::min<std::uint64_t>(m_buffer.size() - kept, m_fileEnd - m_fileNext));
    if (!m_file->seek(qint64(m_fileNext)) || m_file->read(reinterpret_cast<char *>(m_buffer.data() + kept), qint64(want)) != qint64(want)) {
        m_failed = true;
        m_p = m_end = m_buffer.data();
        return false;
    }
    m_fileNext += want;
    m_p = m_buffer.data();
    m_end = m_p + kept + want;
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
    if (m_failed || !ensure(2 * kLongestVarint))
        return false;
    m_key += readVarint();
    m_count = readVarint();
    return !m_failed;
}

bool RunCursor::appendOrdinals(std::vector<std::uint32_t> &out)
{
    std::uint32_t ordinal = 0;
    for (std::uint64_t n = 0; n < m_count && !m_failed; ++n) {
        if (!ensure(kLongestVarint)) {
            m_failed = true;
            break;
        }
        ordinal += std::uint32_t(readVarint());
        const std::uint32_t global = m_base + ordinal;
        if (n > 0 || out.empty() || out.back() != global)
            out.push_back(global);
    }
    m_count = 0;
    return !m_failed;
}
