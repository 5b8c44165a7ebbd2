#include "big5table.h"

#include <QString>
#include <QStringDecoder>

namespace {
// The one character that bytes decode to, or Unmapped. A stateless decoder
// keeps a lone lead byte from being carried over into the next call.
char16_t decodeOne(QStringDecoder &decoder, QByteArrayView bytes)
{
    const QString characters = decoder.decode(bytes);
    if (characters.size() != 1 || characters.front().isSurrogate() || characters.front() == QChar::ReplacementCharacter)
        return Big5Table::Unmapped;
    return characters.front().unicode();
}
}

const Big5Table &Big5Table::instance()
{
    static const Big5Table table;
    return table;
}

Big5Table::Big5Table()
    : m_pairs((0xFE - 0x81 + 1) * TrailSpan, Unmapped)
{
    QStringDecoder decoder("windows-950", QStringDecoder::Flag::Stateless);
    for (int byte = 0; byte < 0x80; ++byte)
        m_single[byte] = char16_t(byte);
    for (int byte = 0x80; byte <= 0xFF; ++byte) {
        const char one = char(byte);
        m_single[byte] = decoder.isValid() ? decodeOne(decoder, QByteArrayView(&one, 1)) : Unmapped;
    }
    if (!decoder.isValid())
        return;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (!isTrail(static_cast<unsigned char>(trail)))
                continue;
            const char two[2] = { char(lead), char(trail) };
            m_pairs[(lead - 0x81) * TrailSpan + (trail - 0x40)] = decodeOne(decoder, QByteArrayView(two, 2));
        }
    }
}

std::vector<qsizetype> Big5Table::characterStarts(QByteArrayView bytes)
{
    std::vector<qsizetype> starts;
    starts.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size(); at += characterLength(bytes, at))
        starts.push_back(at);
    return starts;
}

std::u16string Big5Table::decode(QByteArrayView bytes) const
{
    const auto *data = reinterpret_cast<const unsigned char *>(bytes.data());
    std::u16string characters;
    characters.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        if (characterLength(bytes, at) == 2) {
            characters.push_back(pair(data[at], data[at + 1]));
            at += 2;
        } else {
            characters.push_back(single(data[at]));
            ++at;
        }
    }
    return characters;
}
