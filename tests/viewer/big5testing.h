#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

// Test pages are written as Unicode in the source and turned into the code
// page 950 bytes that collection pages hold.
inline QByteArray big5(const QString &text)
{
    QStringEncoder encoder("windows-950", QStringEncoder::Flag::Stateless);
    return encoder.encode(text);
}

inline QString fromBig5(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-950", QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}
