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

    // Keeps a run; runs are merged in ascending sequence. Safe to call from
    // several threads. False when the scratch file cannot be written.
    bool add(std::uint64_t sequence, std::uint32_t base, const std::vector<std::uint8_t> &bytes);
    // Cursors over every run in sequence order, each file one reading
    // through a part of bufferBudget. Not to be called while runs are added.
    std::vector<RunCursor> cursors(std::size_t bufferBudget);

    QString error() const { return m_error; }
    std::uint64_t spilledBytes() const { return m_spilled; }

private:
    struct Run {
        std::uint64_t sequence = 0;
        std::uint32_t base = 0;
        std::vector<std::uint8_t> bytes; // empty when spilled
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
