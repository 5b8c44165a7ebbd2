#include "indexbuildrunstore.h"

#include <QDir>

#include <algorithm>

RunStore::RunStore(const QString &scratchFolder, std::uint64_t memoryBudget)
    : m_folder(scratchFolder), m_budget(memoryBudget)
{
}

bool RunStore::spill(Run &run, const std::vector<std::uint8_t> &bytes)
{
    if (!m_file) {
        m_file = std::make_unique<QTemporaryFile>(QDir(m_folder).filePath(QStringLiteral("tamvex-index-runs-XXXXXX.tmp")));
        if (!m_file->open()) {
            m_error = QStringLiteral("cannot create a scratch file in '%1': %2").arg(m_folder, m_file->errorString());
            return false;
        }
    }
    run.offset = m_spilled;
    run.spilled = true;
    const qint64 size = qint64(bytes.size());
    if (m_file->write(reinterpret_cast<const char *>(bytes.data()), size) != size) {
        m_error = QStringLiteral("cannot write the scratch file: %1").arg(m_file->errorString());
        return false;
    }
    m_spilled += run.size;
    return true;
}

bool RunStore::add(std::uint64_t sequence, std::uint32_t base, const std::vector<std::uint8_t> &bytes)
{
    Run run;
    run.sequence = sequence;
    run.base = base;
    run.size = bytes.size();
    const std::lock_guard lock(m_mutex);
    if (!m_error.isEmpty())
        return false;
    if (!m_folder.isEmpty() && m_inMemory + bytes.size() > m_budget) {
        if (!spill(run, bytes))
            return false;
    } else {
        run.bytes = bytes;
        m_inMemory += bytes.size();
    }
    m_runs.push_back(std::move(run));
    return true;
}

std::vector<RunCursor> RunStore::cursors(std::size_t bufferBudget)
{
    std::sort(m_runs.begin(), m_runs.end(), [](const Run &a, const Run &b) { return a.sequence < b.sequence; });
    if (m_file && !m_file->flush())
        m_error = QStringLiteral("cannot write the scratch file: %1").arg(m_file->errorString());
    const std::size_t onFile = std::size_t(std::count_if(m_runs.begin(), m_runs.end(), [](const Run &r) { return r.spilled; }));
    const std::size_t buffer = std::clamp<std::size_t>(bufferBudget / std::max<std::size_t>(onFile, 1), 4096, 1 << 20);
    std::vector<RunCursor> out;
    out.reserve(m_runs.size());
    for (const Run &run : m_runs) {
        if (run.spilled)
            out.emplace_back(m_file.get(), run.offset, run.size, run.base, buffer);
        else
            out.emplace_back(run.bytes.data(), run.bytes.size(), run.base);
    }
    return out;
}
