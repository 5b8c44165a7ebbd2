#include "conditiontext.h"

#include <QCoreApplication>

#include <QStringDecoder>
#include <QStringEncoder>

namespace {

constexpr char codePage[] = "windows-950";
constexpr char16_t lineSeparator = 0x2028;      // a lone LF inside a line
constexpr char16_t paragraphSeparator = 0x2029; // a block end in the text box

Failure badCharacter(const QString &description)
{
    return Failure{FailureNumber::BadCharacter, description};
}

Failure codePageMissing()
{
    return badCharacter(QCoreApplication::translate("ConditionText", "這部電腦沒有 Big5（字碼頁 950）的轉換表。"));
}

QString decodeStrict(QByteArrayView bytes, bool *ok)
{
    QStringDecoder decoder(codePage, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    *ok = !decoder.hasError();
    return text;
}

QByteArray encodeStrict(QStringView text, bool *ok)
{
    QStringEncoder encoder(codePage, QStringConverter::Flag::Stateless);
    const QByteArray bytes = encoder.encode(text);
    *ok = !encoder.hasError();
    return bytes;
}

bool textRoundTrips(QStringView text, QByteArray *bytes)
{
    bool encoded = false;
    bool decoded = false;
    *bytes = encodeStrict(text, &encoded);
    const QString back = decodeStrict(*bytes, &decoded);
    return encoded && decoded && QStringView(back) == text;
}

// True when the bytes decode to characters that can be saved again as the
// same characters. The bytes written back may differ: ten codes (A2A4-A2A7,
// A2CC, A2CE, F9FA-F9FD) are second codes of characters that code page 950
// also has elsewhere, and encoding gives the standard one.
bool bytesRoundTrip(QByteArrayView bytes, QString *text)
{
    bool decoded = false;
    *text = decodeStrict(bytes, &decoded);
    QByteArray ignored;
    return decoded && textRoundTrips(*text, &ignored);
}

// A lead byte of code page 950 takes one trail byte with it.
qsizetype unitLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = static_cast<uchar>(bytes[at]);
    return byte >= 0x81 && byte <= 0xFE && at + 1 < bytes.size() ? 2 : 1;
}

Failure undecodable(QByteArrayView bytes)
{
    int line = 1;
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = unitLength(bytes, at);
        const QByteArrayView unit = bytes.sliced(at, length);
        QString ignored;
        if (!bytesRoundTrip(unit, &ignored)) {
            const QString hex = QString::fromLatin1(unit.toByteArray().toHex(' ').toUpper());
            return badCharacter(QCoreApplication::translate("ConditionText", "第 %1 行的位元組 %2（檔案第 %3 位元組起）不是 Big5（字碼頁 950）文字；"
                                               "為免存檔時改壞內容，檔案未載入。")
                                    .arg(line)
                                    .arg(hex)
                                    .arg(at + 1));
        }
        if (bytes[at] == '\r')
            ++line; // a lone LF stays inside its line
        at += length;
    }
    return badCharacter(QCoreApplication::translate("ConditionText", "檔案內容不是 Big5（字碼頁 950）文字；為免存檔時改壞內容，檔案未載入。"));
}

bool isLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r' || c == QChar(paragraphSeparator);
}

QString nameOf(QStringView character)
{
    const char32_t code = character.size() == 2 ? QChar::surrogateToUcs4(character[0], character[1])
                                                : character[0].unicode();
    const QString number = QStringLiteral("U+%1").arg(static_cast<uint>(code), 4, 16, QLatin1Char('0')).toUpper();
    const bool visible = QChar::isPrint(code) && !QChar::isSpace(code);
    return visible ? QStringLiteral(u"「%1」（%2）").arg(character.toString(), number) : number;
}

Failure unencodable(const QString &text)
{
    int line = 1;
    int column = 1;
    for (qsizetype at = 0; at < text.size();) {
        const QChar c = text[at];
        if (isLineEnd(c)) {
            at += c == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n' ? 2 : 1;
            ++line;
            column = 1;
            continue;
        }
        const qsizetype length = c.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = QStringView(text).sliced(at, length);
        QByteArray ignored;
        if (c != QChar(lineSeparator) && c.unicode() >= 0x80 && !textRoundTrips(character, &ignored))
            return badCharacter(QCoreApplication::translate("ConditionText", "第 %1 行第 %2 字 %3 無法以 Big5（字碼頁 950）存檔；檔案未變更。")
                                    .arg(line)
                                    .arg(column)
                                    .arg(nameOf(character)));
        at += length;
        ++column;
    }
    return badCharacter(QCoreApplication::translate("ConditionText", "內容無法以 Big5（字碼頁 950）存檔；檔案未變更。"));
}

// Line ends of the file (CR LF, lone CR) become "\n"; a lone LF becomes U+2028.
QString boxLineEnds(const QString &fileText)
{
    QString text;
    text.reserve(fileText.size());
    for (qsizetype at = 0; at < fileText.size(); ++at) {
        const QChar c = fileText[at];
        if (c == u'\r') {
            text += u'\n';
            if (at + 1 < fileText.size() && fileText[at + 1] == u'\n')
                ++at;
        } else {
            text += c == u'\n' ? QChar(lineSeparator) : c;
        }
    }
    return text;
}

QString fileLineEnds(const QString &boxText)
{
    QString text;
    text.reserve(boxText.size() + boxText.size() / 8);
    for (qsizetype at = 0; at < boxText.size(); ++at) {
        const QChar c = boxText[at];
        if (isLineEnd(c)) {
            text += QStringLiteral("\r\n");
            if (c == u'\r' && at + 1 < boxText.size() && boxText[at + 1] == u'\n')
                ++at;
        } else {
            text += c == QChar(lineSeparator) ? QChar(u'\n') : c;
        }
    }
    return text;
}
}

namespace ConditionText {

Result<QString> fromFileBytes(const QByteArray &bytes)
{
    if (!QStringDecoder(codePage).isValid())
        return codePageMissing();
    QString fileText;
    if (!bytesRoundTrip(bytes, &fileText))
        return undecodable(bytes);
    return boxLineEnds(fileText);
}

Result<QByteArray> toFileBytes(const QString &text)
{
    if (!QStringEncoder(codePage).isValid())
        return codePageMissing();
    QByteArray bytes;
    if (!textRoundTrips(fileLineEnds(text), &bytes))
        return unencodable(text);
    return bytes;
}
}
