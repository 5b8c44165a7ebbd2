#pragma once

#include "indexbuildrun.h"

#include <QString>
#include <QTemporaryFile>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

// The runs of an index build until they are merged: in memory while they
// fit the budget, beyond it in one scratch file (when a folder is given),
// which is removed with the store.
class RunStore {
public:
    RunStore(const QString &scratchFolder, std::uint64_t memoryBudget);

    // Keeps a run and its skip entries; runs are merged in ascending
    // sequence. Safe to call from several threads. False when the scratch
    // file cannot be written.
    bool add(std::uint64_t sequence, std::uint32_t base, const std::vector<std::uint8_t> &bytes, const std::vector<RunSkip> &skips);
    // Ends the adding; false when the scratch file cannot be written.
    bool finish();
    // Keys splitting all runs into about `parts` ranges of about equal
    // bytes, ascending, without 0 (the start of the first range).
    std::vector<TextKeys::Key> boundaries(std::size_t parts) const;
    // Cursors over the keys [from, bound) of every run in sequence order,
    // positioned before their first key. Safe from several threads after
    // finish().
    std::vector<RunCursor> cursors(TextKeys::Key from, TextKeys::Key bound, std::size_t bufferBytes) const;

    QString error() const { return m_error; }
    std::uint64_t totalBytes() const { return m_inMemory + m_spilled; }

private:
    struct Run {
        std::uint64_t sequence = 0;
        std::uint32_t base = 0;
        std::vector<std::uint8_t> bytes; // empty when spilled
        std::vector<RunSkip> skips;
        std::uint64_t offset = 0;
        std::uint64_t size = 0;
        bool spilled = false;
    };

    bool spill(Run &run, const std::vector<std::uint8_t> &bytes);

    std::mutex m_mutex;
    QString m_folder;
    std::uint64_t m_budget;
    std::uint64_t m_inMemory = 0;
    std::uint64_t m_spilled = 0;
    std::vector<Run> m_runs;
    std::unique_ptr<QTemporaryFile> m_file;
    QString m_error;
};
