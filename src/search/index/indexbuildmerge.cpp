#include "indexbuildmerge.h"

#include "indexbuildmergeheap.h"

#include <QCoreApplication>
#include <QString>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace {

using Key = TextKeys::Key;

constexpr std::uint64_t kRangeBytes = 4 << 20;     // run bytes merged as one range
constexpr std::size_t kFileBuffer = 64 << 10;      // read buffer of a cursor on the scratch file

Failure reason(const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen, why};
}

bool cancelled(const std::atomic<bool> *cancel)
{
    return cancel && cancel->load(std::memory_order_relaxed);
}

// The merged postings of one range of keys, waiting for the sink.
struct MergedRange {
    std::vector<Key> keys;
    std::vector<std::size_t> ends; // ordinals of keys[i] end at ends[i]
    std::vector<std::uint32_t> ordinals;

    void clear()
    {
        keys.clear();
        ends.clear();
        ordinals.clear();
    }
};

Status mergeRange(const RunStore &runs, Key from, Key bound, MergedRange &out, const std::atomic<bool> *cancel)
{
    std::vector<RunCursor> cursors = runs.cursors(from, bound, kFileBuffer);
    MergeHeap heap(cursors);
    for (std::uint32_t r = 0; r < cursors.size(); ++r) {
        if (cursors[r].seek(from))
            heap.push(r);
        else if (cursors[r].failed())
            return reason(QCoreApplication::translate("IndexBuild", "cannot read the scratch file"));
    }
    for (std::uint64_t keys = 0; !heap.empty(); ++keys) {
        if ((keys & 4095) == 0 && cancelled(cancel))
            return reason(QCoreApplication::translate("IndexBuild", "cancelled"));
        const Key key = cursors[heap.top()].key();
        const std::size_t start = out.ordinals.size();
        while (!heap.empty() && cursors[heap.top()].key() == key) {
            RunCursor &run = cursors[heap.top()];
            const bool more = run.appendOrdinals(out.ordinals, start) && run.advance();
            if (run.failed())
                return reason(QCoreApplication::translate("IndexBuild", "cannot read the scratch file"));
            heap.settleTop(!more);
        }
        out.keys.push_back(key);
        out.ends.push_back(out.ordinals.size());
    }
    return {};
}

Status feed(const MergedRange &range, PostingSink &sink)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < range.keys.size(); ++i) {
        if (!sink.add(range.keys[i], range.ordinals.data() + start, range.ends[i] - start))
            return reason(QCoreApplication::translate("IndexBuild", "the postings could not be kept"));
        start = range.ends[i];
    }
    return {};
}
}

namespace {

// Ranges merged by helper threads ahead of the sink, at most kAhead of them
// waiting at a time so that memory stays bounded.
class RangePipeline {
public:
    static constexpr std::size_t kAhead = 3;

    RangePipeline(const RunStore &runs, std::vector<Key> bounds, const std::atomic<bool> *cancel)
        : m_runs(runs), m_bounds(std::move(bounds)), m_cancel(cancel), m_ranges(m_bounds.size() + 1)
    {
    }
    ~RangePipeline()
    {
        stop(QString());
        for (std::thread &t : m_threads)
            t.join();
    }

    void start(int threads)
    {
        try {
            for (int i = 0; i < threads; ++i)
                m_threads.emplace_back([this] { work(); });
        } catch (const std::system_error &) {
        }
        if (m_threads.empty())
            m_threads.emplace_back([this] { work(); }); // throws on failure: out of resources
    }

    Status run(PostingSink &sink)
    {
        for (std::size_t r = 0; r < m_ranges.size(); ++r) {
            std::unique_ptr<MergedRange> range;
            {
                std::unique_lock lock(m_mutex);
                m_changed.wait(lock, [&] { return m_ranges[r] || !m_error.isEmpty(); });
                if (!m_error.isEmpty())
                    return reason(m_error);
                range = std::move(m_ranges[r]);
                m_consumed = r + 1;
            }
            m_changed.notify_all();
            if (cancelled(m_cancel))
                return reason(QCoreApplication::translate("IndexBuild", "cancelled"));
            if (const Status fed = feed(*range, sink); !fed) {
                stop(fed.failure().description);
                return fed;
            }
            // Its memory, already touched, serves a later range.
            range->clear();
            const std::lock_guard lock(m_mutex);
            m_spare.push_back(std::move(range));
        }
        return {};
    }

private:
    void work()
    {
        try {
            for (;;) {
                std::size_t r;
                std::unique_ptr<MergedRange> range;
                {
                    std::unique_lock lock(m_mutex);
                    m_changed.wait(lock, [&] { return !m_error.isEmpty() || m_next >= m_ranges.size() || m_next < m_consumed + kAhead; });
                    if (!m_error.isEmpty() || m_next >= m_ranges.size())
                        return;
                    r = m_next++;
                    if (!m_spare.empty()) {
                        range = std::move(m_spare.back());
                        m_spare.pop_back();
                    }
                }
                if (!range)
                    range = std::make_unique<MergedRange>();
                const Key from = r == 0 ? 0 : m_bounds[r - 1];
                const Key bound = r < m_bounds.size() ? m_bounds[r] : ~Key(0);
                if (const Status merged = mergeRange(m_runs, from, bound, *range, m_cancel); !merged)
                    return stop(merged.failure().description);
                {
                    const std::lock_guard lock(m_mutex);
                    m_ranges[r] = std::move(range);
                }
                m_changed.notify_all();
            }
        } catch (const std::bad_alloc &) {
            stop(QCoreApplication::translate("IndexBuild", "out of memory"));
        }
    }

    void stop(const QString &why)
    {
        {
            const std::lock_guard lock(m_mutex);
            if (m_error.isEmpty())
                m_error = why.isEmpty() ? QCoreApplication::translate("IndexBuild", "stopped") : why;
        }
        m_changed.notify_all();
    }

    const RunStore &m_runs;
    const std::vector<Key> m_bounds;
    const std::atomic<bool> *m_cancel;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::unique_ptr<MergedRange>> m_ranges;
    std::vector<std::unique_ptr<MergedRange>> m_spare;
    std::size_t m_next = 0;
    std::size_t m_consumed = 0;
    QString m_error;
    std::vector<std::thread> m_threads;
};
}

Status mergeRuns(const RunStore &runs, PostingSink &sink, int threads, const std::atomic<bool> *cancel)
{
    const std::size_t wanted = std::size_t(runs.totalBytes() / kRangeBytes);
    std::vector<Key> bounds = runs.boundaries(std::clamp<std::size_t>(wanted, 16, 65536));
    if (threads <= 1) {
        MergedRange range;
        for (std::size_t r = 0; r <= bounds.size(); ++r) {
            range.clear();
            const Key from = r == 0 ? 0 : bounds[r - 1];
            const Key bound = r < bounds.size() ? bounds[r] : ~Key(0);
            if (const Status merged = mergeRange(runs, from, bound, range, cancel); !merged)
                return merged;
            if (const Status fed = feed(range, sink); !fed)
                return fed;
        }
        return {};
    }
    RangePipeline pipeline(runs, std::move(bounds), cancel);
    pipeline.start(threads);
    return pipeline.run(sink);
}
