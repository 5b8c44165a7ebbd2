#include "concordancelines.h"

namespace {

bool isContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

QString lineText(std::string_view bytes)
{
    QString text = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    return text;
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
    Concordance::Line line;
    line.left = lineText(content.substr(from, span.begin - from));
    line.hit = lineText(content.substr(span.begin, span.end - span.begin));
    line.right = lineText(content.substr(span.end, to - span.end));
    return line;
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
