#include "jettext.h"

#include <QByteArray>
#include <QString>

namespace {

void appendCodePoint(char32_t cp, std::string &out)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

constexpr char32_t Replacement = 0xFFFD;

bool isHighSurrogate(char32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool isLowSurrogate(char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// Collects UTF-16 units and pairs surrogates across calls, so that both the
// plain and the compressed form share one encoder.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(std::string &out) : m_out(out) {}

    void unit(char32_t u)
    {
        if (m_high) {
            const char32_t high = m_high;
            m_high = 0;
            if (isLowSurrogate(u)) {
                appendCodePoint(0x10000 + ((high - 0xD800) << 10) + (u - 0xDC00), m_out);
                return;
            }
            damage();
        }
        if (isHighSurrogate(u))
            m_high = u;
        else if (isLowSurrogate(u))
            damage();
        else
            appendCodePoint(u, m_out);
    }

    void damage()
    {
        appendCodePoint(Replacement, m_out);
        m_clean = false;
    }

    bool finish()
    {
        if (m_high) {
            m_high = 0;
            damage();
        }
        return m_clean;
    }

private:
    std::string &m_out;
    char32_t m_high = 0;
    bool m_clean = true;
};

bool appendCompressed(const unsigned char *data, std::size_t size, std::string &out)
{
    Utf16ToUtf8 encoder(out);
    bool oneByte = true;
    std::size_t i = 2;
    while (i < size) {
        if (data[i] == 0) {
            oneByte = !oneByte;
            ++i;
        } else if (oneByte) {
            encoder.unit(data[i]);
            ++i;
        } else if (i + 1 < size) {
            encoder.unit(char32_t(data[i]) | char32_t(data[i + 1]) << 8);
            i += 2;
        } else {
            encoder.damage();
            ++i;
        }
    }
    return encoder.finish();
}
}

namespace JetText {

bool appendJet4(const unsigned char *data, std::size_t size, std::string &out)
{
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE)
        return appendCompressed(data, size, out);
    Utf16ToUtf8 encoder(out);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        encoder.unit(char32_t(data[i]) | char32_t(data[i + 1]) << 8);
    if (size % 2)
        encoder.damage();
    return encoder.finish();
}

QByteArray decoderNameForCodePage(int codePage)
{
    if (codePage == 0)
        codePage = 1252;
    // ICU's alias tables spell the same code page in several ways.
    const QByteArray number = QByteArray::number(codePage);
    for (const QByteArray &prefix : {QByteArrayLiteral("windows-"), QByteArrayLiteral("cp"), QByteArrayLiteral("ibm-")}) {
        const QByteArray name = prefix + number;
        if (QStringDecoder(name.constData()).isValid())
            return name;
    }
    return {};
}

bool appendCodePage(QStringDecoder &decoder, const unsigned char *data, std::size_t size, std::string &out)
{
    // The decoder keeps a lead byte cut off at the end as pending state and
    // drops it silently. A line feed, never a trail byte in any Jet code
    // page, forces it out as U+FFFD and is removed again.
    QByteArray terminated(reinterpret_cast<const char *>(data), qsizetype(size));
    terminated.append('\n');
    QString text = decoder.decode(terminated);
    decoder.resetState();
    if (text.endsWith(u'\n'))
        text.chop(1);
    // hasError() outlives resetState() here, and no code page byte sequence
    // stands for U+FFFD itself: its presence is the sign of a bad byte.
    const bool clean = !text.contains(QChar::ReplacementCharacter);
    const QByteArray utf8 = text.toUtf8();
    out.append(utf8.constData(), std::size_t(utf8.size()));
    return clean;
}
}
