#include "jetwireparser.h"

#include "jetreaderreason.h"
#include "jetwireformat.h"

#include <QCoreApplication>

#include <cstring>

namespace {

constexpr qsizetype Incomplete = 0;
constexpr qsizetype Malformed = -1;

std::uint64_t readUInt(const char *data, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= std::uint64_t(static_cast<unsigned char>(data[i])) << (8 * i);
    return value;
}
}

JetWireParser::JetWireParser(RowSink &sink) : m_sink(sink) {}

bool JetWireParser::fail(const QString &why)
{
    m_failed = true;
    m_problem = why;
    return false;
}

bool JetWireParser::feed(const char *data, qsizetype size)
{
    if (m_failed)
        return false;
    if (size <= 0)
        return true;
    // Whole records are parsed straight from the caller's bytes; only the
    // unfinished tail is copied and waits for the rest.
    if (m_pending.isEmpty()) {
        const qsizetype used = parseAll(data, size);
        if (used < 0)
            return false;
        m_pending.append(data + used, size - used);
        return true;
    }
    m_pending.append(data, size);
    const qsizetype used = parseAll(m_pending.constData(), m_pending.size());
    if (used < 0)
        return false;
    m_pending.remove(0, used);
    return true;
}

qsizetype JetWireParser::parseAll(const char *data, qsizetype size)
{
    qsizetype used = 0;
    if (!m_magicSeen) {
        if (size < qsizetype(sizeof JetWire::Magic))
            return 0;
        if (std::memcmp(data, JetWire::Magic, sizeof JetWire::Magic) != 0) {
            fail(QCoreApplication::translate("JetWireParser", "the reader's output does not start with the expected mark"));
            return Malformed;
        }
        m_magicSeen = true;
        used = sizeof JetWire::Magic;
    }
    while (used < size) {
        if (finished()) {
            fail(QCoreApplication::translate("JetWireParser", "the reader wrote data after its last record"));
            return Malformed;
        }
        const qsizetype n = parseRecord(data + used, size - used);
        if (n < 0)
            return Malformed;
        if (n == Incomplete)
            break;
        used += n;
    }
    return used;
}

qsizetype JetWireParser::parseRecord(const char *data, qsizetype size)
{
    switch (static_cast<unsigned char>(data[0])) {
    case JetWire::Row:
        return parseRow(data, size);
    case JetWire::End:
        if (size < 17)
            return Incomplete;
        m_rowsWritten = readUInt(data + 1, 8);
        m_numRows = readUInt(data + 9, 8);
        m_endSeen = true;
        return 17;
    case JetWire::Error: {
        if (size < 5)
            return Incomplete;
        const qsizetype length = qsizetype(readUInt(data + 1, 4));
        if (size < 5 + length)
            return Incomplete;
        m_childError = jetReaderReasonText(QByteArrayView(data + 5, length));
        m_errorSeen = true;
        return 5 + length;
    }
    default:
        fail(QCoreApplication::translate("JetWireParser", "the reader's output holds an unknown record"));
        return Malformed;
    }
}

qsizetype JetWireParser::parseRow(const char *data, qsizetype size)
{
    Value values[JetWire::ColumnCount];
    qsizetype at = 1;
    for (Value &value : values) {
        if (at >= size)
            return Incomplete;
        value.kind = static_cast<unsigned char>(data[at++]);
        switch (value.kind) {
        case JetWire::Null:
            break;
        case JetWire::Text:
            if (size - at < 4)
                return Incomplete;
            value.size = std::uint32_t(readUInt(data + at, 4));
            at += 4;
            if (size - at < qsizetype(value.size))
                return Incomplete;
            value.text = data + at;
            at += value.size;
            break;
        case JetWire::Number: {
            if (size - at < 8)
                return Incomplete;
            const std::uint64_t bits = readUInt(data + at, 8);
            std::memcpy(&value.number, &bits, sizeof bits);
            at += 8;
            break;
        }
        default:
            fail(QCoreApplication::translate("JetWireParser", "the reader's output holds a value of unknown kind"));
            return Malformed;
        }
    }
    QString why;
    if (!m_sink.addRow(values, why)) {
        fail(why);
        return Malformed;
    }
    ++m_rowsParsed;
    return at;
}
