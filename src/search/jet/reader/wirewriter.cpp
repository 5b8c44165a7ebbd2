#include "wirewriter.h"

#include "jetwireformat.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr std::size_t BufferSize = 1 << 20;
}

WireWriter::WireWriter(std::FILE *stream) : m_stream(stream), m_buffer(BufferSize) {}

WireWriter::~WireWriter() { flush(); }

void WireWriter::put(const void *data, std::size_t size)
{
    const char *bytes = static_cast<const char *>(data);
    while (size > 0) {
        if (m_used == m_buffer.size() && !flush())
            return;
        const std::size_t n = std::min(size, m_buffer.size() - m_used);
        std::memcpy(m_buffer.data() + m_used, bytes, n);
        m_used += n;
        bytes += n;
        size -= n;
    }
}

void WireWriter::putU32(std::uint32_t value)
{
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    put(bytes, sizeof bytes);
}

void WireWriter::putU64(std::uint64_t value)
{
    unsigned char bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<unsigned char>(value >> (8 * i));
    put(bytes, sizeof bytes);
}

void WireWriter::magic() { put(JetWire::Magic, sizeof JetWire::Magic); }

void WireWriter::beginRow() { putByte(JetWire::Row); }

void WireWriter::null() { putByte(JetWire::Null); }

void WireWriter::text(const char *data, std::size_t size)
{
    putByte(JetWire::Text);
    putU32(static_cast<std::uint32_t>(size));
    put(data, size);
}

void WireWriter::number(double value)
{
    static_assert(sizeof(double) == 8);
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    putByte(JetWire::Number);
    putU64(bits);
}

void WireWriter::end(std::uint64_t rowsWritten, std::uint64_t numRows)
{
    putByte(JetWire::End);
    putU64(rowsWritten);
    putU64(numRows);
}

void WireWriter::error(const std::string &message)
{
    putByte(JetWire::Error);
    putU32(static_cast<std::uint32_t>(message.size()));
    put(message.data(), message.size());
}

bool WireWriter::flush()
{
    if (m_failed)
        return false;
    if (m_used > 0 && std::fwrite(m_buffer.data(), 1, m_used, m_stream) != m_used)
        m_failed = true;
    m_used = 0;
    if (std::fflush(m_stream) != 0)
        m_failed = true;
    return !m_failed;
}
