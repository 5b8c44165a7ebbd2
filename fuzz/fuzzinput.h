#pragma once

// Turning fuzzer bytes into the texts the program meets.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

// The first byte chooses how the rest becomes text: odd as UTF-16 code
// units taken as they are (lone surrogates and control characters included),
// even as UTF-8 (invalid sequences become U+FFFD, as from a paste).
inline QString fuzzText(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return QString();
    const auto *rest = reinterpret_cast<const char *>(data + 1);
    const qsizetype restSize = qsizetype(size - 1);
    if (data[0] & 1) {
        QString text(restSize / 2, Qt::Uninitialized);
        for (qsizetype i = 0; i < text.size(); ++i)
            text[i] = QChar(char16_t(std::uint8_t(rest[2 * i]) | (std::uint8_t(rest[2 * i + 1]) << 8)));
        return text;
    }
    return QString::fromUtf8(rest, restSize);
}
