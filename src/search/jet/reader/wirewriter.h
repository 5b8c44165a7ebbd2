#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// Writes the reader's wire stream (see jetwireformat.h) through one large
// buffer, so a row costs a few memcpy calls and no system call.
class WireWriter {
public:
    explicit WireWriter(std::FILE *stream);
    ~WireWriter();

    void magic();
    void beginRow();
    void null();
    void text(const char *data, std::size_t size);
    void text(const std::string &value) { text(value.data(), value.size()); }
    void number(double value);
    void end(std::uint64_t rowsWritten, std::uint64_t numRows);
    void error(const std::string &message);

    // Writes out what is buffered; false when the stream refused it.
    bool flush();

private:
    void put(const void *data, std::size_t size);
    void putByte(unsigned char byte) { put(&byte, 1); }
    void putU32(std::uint32_t value);
    void putU64(std::uint64_t value);

    std::FILE *m_stream;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    bool m_failed = false;
};
