#pragma once

#include "indexbuildrun.h"
#include "textkeys.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The folded characters of a batch of records, turned into a sorted run
// (see RunCursor) when the batch is full or done. Keys are sorted as dense
// numbers, ranks of the batch's distinct characters taken in code point
// order, so that sorting moves far fewer key bits than the index keys hold.
class IndexBatch {
public:
    // Room for `capacity` characters and records together.
    explicit IndexBatch(std::size_t capacity);

    bool empty() const { return m_records.empty(); }
    bool full() const { return m_charCount + m_records.size() >= m_capacity; }
    // Starts a record (its ordinal within the chunk); the batch must not be full.
    void startRecord(std::uint32_t ordinal)
    {
        m_records.push_back(Record{ordinal, std::uint32_t(m_charCount)});
    }
    // Adds a folded character to the current record; the batch must not be full.
    void addChar(char32_t c)
    {
        if (m_rank[c] == 0) {
            m_rank[c] = 1;
            m_distinct.push_back(c);
        }
        m_chars[m_charCount++] = c;
    }

    // Appends the batch's run to out and its skip entries to skips, and
    // empties the batch. With
    // continueRecord the current record goes on in the next run, from its
    // last character so that no pair is lost.
    void takeRun(std::vector<std::uint8_t> &out, std::vector<RunSkip> &skips, bool continueRecord);
    // Pairs sorted so far (every occurrence, before repeats are dropped).
    std::uint64_t pairsSorted() const { return m_pairsSorted; }

private:
    struct Record {
        std::uint32_t ordinal;
        std::uint32_t start;
    };
    struct Free {
        void operator()(std::uint32_t *p) const;
    };

    std::size_t emitPairs();

    std::size_t m_capacity;
    std::vector<char32_t> m_chars;
    std::size_t m_charCount = 0;
    std::vector<Record> m_records;
    // Rank of each code point among m_distinct, 0 for the unseen ones.
    std::unique_ptr<std::uint32_t[], Free> m_rank;
    std::vector<char32_t> m_distinct;
    std::vector<std::uint32_t> m_lastRecord;
    std::vector<std::uint64_t> m_pairs;
    std::vector<std::uint64_t> m_scratch;
    std::uint64_t m_pairsSorted = 0;
};
