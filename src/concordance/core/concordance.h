#pragma once

#include <QString>
#include <QStringView>

#include <cstdint>
#include <utility>
#include <vector>

// Every occurrence of a query's terms in the content of its result records,
// each with the characters around it: the lines of a concordance, in result
// order and, within a record, in the order of the text.
struct Concordance {
    struct Record {
        QString subject;   // title, as the result list shows it
        QString htm;       // page path, as stored
        int resultRow = 0; // the record's row in the result list (from 1)
    };
    // One occurrence with its context, kept as one text (left, hit and
    // right read together) so that a line costs one allocation and sorting
    // and filtering read views of it.
    class Line {
    public:
        Line() = default;
        Line(std::uint32_t record, std::uint32_t occurrence, const QString &left, const QString &hit,
             const QString &right)
            : record(record), occurrence(occurrence), m_text(left + hit + right), m_hitBegin(left.size()),
              m_hitEnd(left.size() + hit.size())
        {
        }
        // text holds the left context, the hit and the right context;
        // hitBegin and hitEnd are the hit's bounds in it.
        Line(std::uint32_t record, std::uint32_t occurrence, QString text, qsizetype hitBegin, qsizetype hitEnd)
            : record(record), occurrence(occurrence), m_text(std::move(text)), m_hitBegin(hitBegin), m_hitEnd(hitEnd)
        {
        }

        std::uint32_t record = 0;     // index into records
        std::uint32_t occurrence = 0; // the occurrence's place in its record's content (from 0)

        QStringView text() const { return m_text; }
        QStringView left() const { return text().first(m_hitBegin); }     // up to width characters before the hit
        QStringView hit() const { return text().sliced(m_hitBegin, m_hitEnd - m_hitBegin); } // the text the term matched
        QStringView hitAndRight() const { return text().sliced(m_hitBegin); }
        QStringView right() const { return text().sliced(m_hitEnd); }     // up to width characters after it

    private:
        QString m_text;
        qsizetype m_hitBegin = 0;
        qsizetype m_hitEnd = 0;
    };

    int width = 12;                 // context characters on each side
    int resultRecords = 0;          // records of the result, with or without a line
    std::vector<Record> records;    // the records that have lines, in result order
    std::vector<Line> lines;
};
