#include "concordancelines.h"

#include <QStringDecoder>

namespace {

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

// Control characters read as blanks, so that a line stays one line.
void blankControls(QString &text)
{
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
}
}

Concordance::Line concordanceLine(std::string_view content, LikeSpanFinder::Span span, int width)
{
    std::size_t from = span.begin;
    for (int n = 0; n < width && from > 0; ++n) {
        --from;
        while (from > 0 && isContinuation(content[from]))
            --from;
    }
    std::size_t to = span.end;
    for (int n = 0; n < width && to < content.size(); ++n) {
        ++to;
        while (to < content.size() && isContinuation(content[to]))
            ++to;
    }
    // One decoder over the three parts, into one buffer: a line is one
    // allocation, and the hit's bounds are where the decoder stood.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text(decoder.requiredSpace(qsizetype(to - from)), Qt::Uninitialized);
    QChar *const begin = text.data();
    QChar *out = decoder.appendToBuffer(begin, QByteArrayView(content.data() + from, qsizetype(span.begin - from)));
    const qsizetype hitBegin = out - begin;
    out = decoder.appendToBuffer(out, QByteArrayView(content.data() + span.begin, qsizetype(span.end - span.begin)));
    const qsizetype hitEnd = out - begin;
    out = decoder.appendToBuffer(out, QByteArrayView(content.data() + span.end, qsizetype(to - span.end)));
    text.truncate(out - begin);
    blankControls(text);
    return Concordance::Line(0, 0, std::move(text), hitBegin, hitEnd);
}

void addConcordanceRecord(Concordance &concordance, const ConcordanceQuery &query, Concordance::Record record,
                          std::string_view content)
{
    ++concordance.resultRecords;
    const std::vector<LikeSpanFinder::Span> spans = query.occurrences(content);
    if (spans.empty())
        return;
    const auto index = std::uint32_t(concordance.records.size());
    concordance.records.push_back(std::move(record));
    std::uint32_t occurrence = 0;
    for (const LikeSpanFinder::Span &span : spans) {
        Concordance::Line line = concordanceLine(content, span, concordance.width);
        line.record = index;
        line.occurrence = occurrence++;
        concordance.lines.push_back(std::move(line));
    }
}
