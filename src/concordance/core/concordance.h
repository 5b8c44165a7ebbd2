#pragma once

#include <QString>

#include <cstdint>
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
    struct Line {
        std::uint32_t record = 0;     // index into records
        std::uint32_t occurrence = 0; // the occurrence's place in its record's content (from 0)
        QString left;                 // up to width characters before the hit
        QString hit;                  // the text the term matched
        QString right;                // up to width characters after it
    };

    int width = 12;                 // context characters on each side
    int resultRecords = 0;          // records of the result, with or without a line
    std::vector<Record> records;    // the records that have lines, in result order
    std::vector<Line> lines;
};
