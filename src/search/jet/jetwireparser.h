#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// Reads the Jet reader's wire stream (jetwireformat.h) as it arrives, in
// pieces of any size, and hands each complete row to a sink. A row's text
// points into the parser's buffers and is valid only during the call.
class JetWireParser {
public:
    struct Value {
        unsigned char kind = 0; // JetWire::Kind
        const char *text = nullptr;
        std::uint32_t size = 0;
        double number = 0;
    };

    class RowSink {
    public:
        virtual ~RowSink() = default;
        // Takes one row (subject, htm, content, date). Returns false to stop
        // reading, with the reason in `why`.
        virtual bool addRow(const Value *values, QString &why) = 0;
    };

    explicit JetWireParser(RowSink &sink);

    // Consumes the next bytes of the stream. Returns false when the stream is
    // malformed or the sink stopped; problem() then says why.
    bool feed(const char *data, qsizetype size);

    // True once the end record or the child's error record has been read.
    bool finished() const { return m_endSeen || m_errorSeen; }
    bool endSeen() const { return m_endSeen; }
    bool errorSeen() const { return m_errorSeen; }
    // True when bytes of an unfinished record are still waiting.
    bool hasPartialRecord() const { return !m_pending.isEmpty() || !m_magicSeen; }

    const QString &problem() const { return m_problem; }
    // The reason of the child's failure record, in the reader's language.
    const QString &childError() const { return m_childError; }
    std::uint64_t rowsParsed() const { return m_rowsParsed; }
    std::uint64_t rowsWritten() const { return m_rowsWritten; }
    std::uint64_t numRows() const { return m_numRows; }

private:
    qsizetype parseAll(const char *data, qsizetype size);
    qsizetype parseRecord(const char *data, qsizetype size);
    qsizetype parseRow(const char *data, qsizetype size);
    bool fail(const QString &why);

    RowSink &m_sink;
    QByteArray m_pending;
    bool m_magicSeen = false;
    bool m_endSeen = false;
    bool m_errorSeen = false;
    bool m_failed = false;
    QString m_problem;
    QString m_childError;
    std::uint64_t m_rowsParsed = 0;
    std::uint64_t m_rowsWritten = 0;
    std::uint64_t m_numRows = 0;
};
