#include "indexbuildrunstore.h"

#include <QCoreApplication>
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
            m_error = QCoreApplication::translate("IndexBuild", "cannot create a scratch file in '%1': %2").arg(m_folder, m_file->errorString());
            return false;
        }
    }
    run.offset = m_spilled;
    run.spilled = true;
    const qint64 size = qint64(bytes.size());
    if (m_file->write(reinterpret_cast<const char *>(bytes.data()), size) != size) {
        m_error = QCoreApplication::translate("IndexBuild", "cannot write the scratch file: %1").arg(m_file->errorString());
        return false;
    }
    m_spilled += run.size;
    return true;
}

bool RunStore::add(std::uint64_t sequence, std::uint32_t base, const std::vector<std::uint8_t> &bytes, const std::vector<RunSkip> &skips)
{
    Run run;
    run.sequence = sequence;
    run.base = base;
    run.size = bytes.size();
    run.skips = skips;
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

bool RunStore::finish()
{
    std::sort(m_runs.begin(), m_runs.end(), [](const Run &a, const Run &b) { return a.sequence < b.sequence; });
    if (m_file && m_error.isEmpty() && !m_file->flush())
        m_error = QCoreApplication::translate("IndexBuild", "cannot write the scratch file: %1").arg(m_file->errorString());
    return m_error.isEmpty();
}

std::vector<TextKeys::Key> RunStore::boundaries(std::size_t parts) const
{
    // Skip entries lie about every kSkipBytes: their keys sample the work.
    std::vector<TextKeys::Key> keys;
    for (const Run &run : m_runs)
        for (const RunSkip &skip : run.skips)
            keys.push_back(skip.key);
    std::sort(keys.begin(), keys.end());
    std::vector<TextKeys::Key> out;
    for (std::size_t p = 1; p < parts && !keys.empty(); ++p) {
        const TextKeys::Key key = keys[keys.size() * p / parts];
        if (key > 0 && (out.empty() || key > out.back()))
            out.push_back(key);
    }
    return out;
}

std::vector<RunCursor> RunStore::cursors(TextKeys::Key from, TextKeys::Key bound, std::size_t bufferBytes) const
{
    std::vector<RunCursor> out;
    out.reserve(m_runs.size());
    for (const Run &run : m_runs) {
        // Start at the last skip entry not past `from`, end at the first
        // one at or past the bound.
        const auto byKey = [](const RunSkip &s, TextKeys::Key k) { return s.key < k; };
        auto first = std::lower_bound(run.skips.begin(), run.skips.end(), from, byKey);
        if (first == run.skips.end() || first->key > from)
            first = first == run.skips.begin() ? run.skips.end() : first - 1;
        const std::uint64_t begin = first == run.skips.end() ? 0 : first->offset;
        const TextKeys::Key previous = first == run.skips.end() ? 0 : first->previous;
        const auto last = std::lower_bound(run.skips.begin(), run.skips.end(), bound, byKey);
        const std::uint64_t end = last == run.skips.end() ? run.size : last->offset;
        if (run.spilled)
            out.emplace_back(m_file->handle(), run.offset + begin, end - begin, previous, run.base, bound, bufferBytes);
        else
            out.emplace_back(run.bytes.data() + begin, run.bytes.data() + end, previous, run.base, bound);
    }
    return out;
}
