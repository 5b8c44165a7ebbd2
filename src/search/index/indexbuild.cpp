#include "indexbuild.h"

#include "collectionconnection.h"
#include "indexbuildbatch.h"
#include "indexbuildcatalogue.h"
#include "indexbuildmerge.h"
#include "indexbuildrunstore.h"
#include "pairsort.h"

#include <QCoreApplication>
#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

namespace {

using Key = TextKeys::Key;
using Handle = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;
using Statement = std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)>;

Handle openReadOnly(const QString &path)
{
    sqlite3 *raw = nullptr;
    const int rc = openCollectionConnection(path, &raw);
    Handle db(raw, sqlite3_close_v2);
    return rc == SQLITE_OK ? std::move(db) : Handle(nullptr, sqlite3_close_v2);
}

// A run of consecutive ordinals that one thread indexes at a time.
struct Chunk {
    std::uint64_t index = 0;
    std::uint32_t first = 0;
    std::uint32_t count = 0;
};

// What the building threads share: the records, the next chunk to take,
// the progress and the first failure.
class BuildState {
public:
    BuildState(const CatalogueData &catalogue, const BuildOptions &options, RunStore &runs, std::size_t batchCapacity)
        : catalogue(catalogue), options(options), runs(runs), batchCapacity(batchCapacity)
    {
        m_progress.recordsTotal = catalogue.size();
    }

    // The next chunk, sized so that its characters about fill a batch;
    // false when every record is taken or the build stops.
    bool claim(Chunk &chunk)
    {
        const std::lock_guard lock(m_claimMutex);
        const std::uint64_t total = catalogue.size();
        if (m_next >= total || stopped())
            return false;
        const double perRecord = m_records ? double(m_units) / double(m_records) : 0.0;
        std::uint64_t count = perRecord > 0 ? std::uint64_t(double(batchCapacity) * 0.9 / perRecord) : 64;
        count = std::clamp<std::uint64_t>(count, 1, PairSort::kOrdinalMask + 1ull);
        chunk = Chunk{m_chunks++, std::uint32_t(m_next), std::uint32_t(std::min(count, total - m_next))};
        m_next += chunk.count;
        return true;
    }

    // units: characters and records of the chunk, what fills a batch.
    void chunkDone(const Chunk &chunk, std::uint64_t units, std::uint64_t bytes)
    {
        {
            const std::lock_guard lock(m_claimMutex);
            m_units += units;
            m_records += chunk.count;
        }
        const std::lock_guard lock(m_progressMutex);
        m_progress.recordsDone += chunk.count;
        m_progress.contentBytesDone += bytes;
        if (options.progress)
            options.progress(m_progress);
    }

    void fail(const QString &why)
    {
        const std::lock_guard lock(m_progressMutex);
        if (m_error.isEmpty())
            m_error = why;
        m_stop.store(true);
    }

    bool stopped() const
    {
        return m_stop.load(std::memory_order_relaxed) || (options.cancel && options.cancel->load(std::memory_order_relaxed));
    }

    QString error() const { return m_error; }
    std::uint64_t contentBytes() const { return m_progress.contentBytesDone; }

    const CatalogueData &catalogue;
    const BuildOptions &options;
    RunStore &runs;
    const std::size_t batchCapacity;

private:
    std::mutex m_claimMutex;
    std::uint64_t m_next = 0;
    std::uint64_t m_chunks = 0;
    std::uint64_t m_units = 0;
    std::uint64_t m_records = 0;
    std::mutex m_progressMutex;
    BuildProgress m_progress;
    std::atomic<bool> m_stop{false};
    QString m_error;
};

// One building thread: reads the content of its chunks by row id and hands
// their sorted runs to the store.
class ChunkIndexer {
public:
    ChunkIndexer(BuildState &state, sqlite3 *db) : m_state(state), m_db(db), m_select(nullptr, sqlite3_finalize) {}

    void run()
    {
        try {
            sqlite3_stmt *stmt = nullptr;
            if (sqlite3_prepare_v2(m_db, "SELECT content FROM maindata WHERE _rowid_ = ?1", -1, &stmt, nullptr) != SQLITE_OK)
                return m_state.fail(QString::fromUtf8(sqlite3_errmsg(m_db)));
            m_select.reset(stmt);
            m_batch = std::make_unique<IndexBatch>(m_state.batchCapacity);
            Chunk chunk;
            while (m_state.claim(chunk) && indexChunk(chunk)) {
            }
        } catch (const std::bad_alloc &) {
            m_state.fail(QCoreApplication::translate("IndexBuild", "out of memory"));
        }
    }

private:
    bool indexChunk(const Chunk &chunk)
    {
        m_sub = 0;
        std::uint64_t bytes = 0;
        std::uint64_t units = 0;
        sqlite3_stmt *stmt = m_select.get();
        for (std::uint32_t i = 0; i < chunk.count; ++i) {
            if ((i & 63) == 0 && m_state.stopped())
                return false;
            sqlite3_reset(stmt);
            sqlite3_bind_int64(stmt, 1, m_state.catalogue.rowids[chunk.first + i]);
            const int rc = sqlite3_step(stmt);
            if (rc != SQLITE_ROW) {
                m_state.fail(rc == SQLITE_DONE ? QCoreApplication::translate("IndexBuild", "a record went missing while it was read") : QString::fromUtf8(sqlite3_errmsg(m_db)));
                return false;
            }
            if (sqlite3_column_type(stmt, 0) == SQLITE_NULL)
                continue;
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
            const std::string_view value(text ? text : "", std::size_t(sqlite3_column_bytes(stmt, 0)));
            bytes += value.size();
            if (!indexValue(chunk, i, value, units))
                return false;
        }
        sqlite3_reset(stmt);
        if (!m_batch->empty() && !flush(chunk, false))
            return false;
        m_state.chunkDone(chunk, units, bytes);
        return true;
    }

    bool indexValue(const Chunk &chunk, std::uint32_t local, std::string_view value, std::uint64_t &units)
    {
        if (m_batch->full() && !flush(chunk, false))
            return false;
        m_batch->startRecord(local);
        bool ok = true;
        std::uint64_t chars = 0;
        TextKeys::forEachFolded(value, [&](char32_t c) {
            if (m_batch->full())
                ok = ok && flush(chunk, true);
            if (ok)
                m_batch->addChar(c);
            ++chars;
        });
        units += chars + 1;
        return ok;
    }

    bool flush(const Chunk &chunk, bool continueRecord)
    {
        if (m_state.stopped())
            return false;
        m_encoded.clear();
        m_skips.clear();
        m_batch->takeRun(m_encoded, m_skips, continueRecord);
        if (!m_state.runs.add((chunk.index << 24) | m_sub++, chunk.first, m_encoded, m_skips)) {
            m_state.fail(m_state.runs.error());
            return false;
        }
        return true;
    }

    BuildState &m_state;
    sqlite3 *m_db;
    Statement m_select;
    std::unique_ptr<IndexBatch> m_batch;
    std::vector<std::uint8_t> m_encoded;
    std::vector<RunSkip> m_skips;
    std::uint64_t m_sub = 0;
};

// The extra building threads, each on its own connection, joined however
// the build ends.
class Helpers {
public:
    explicit Helpers(BuildState &state) : m_state(state) {}
    ~Helpers()
    {
        for (std::thread &t : m_threads)
            t.join();
    }

    void start(int count, const QString &path)
    {
        try {
            for (int i = 0; i < count; ++i)
                m_threads.emplace_back([this, path] { work(path); });
        } catch (const std::system_error &) {
            // Fewer threads only make the build slower.
        }
    }

private:
    void work(const QString &path)
    {
        const Handle db = openReadOnly(path);
        if (!db)
            return m_state.fail(QCoreApplication::translate("IndexBuild", "cannot open the file"));
        sqlite3_exec(db.get(), "BEGIN", nullptr, nullptr, nullptr);
        ChunkIndexer(m_state, db.get()).run();
        sqlite3_exec(db.get(), "COMMIT", nullptr, nullptr, nullptr);
    }

    BuildState &m_state;
    std::vector<std::thread> m_threads;
};

Failure buildFailure(const IndexSource &source, const QString &why)
{
    const QString name = source.handle ? QCoreApplication::translate("IndexBuild", "(open connection)") : source.path;
    return Failure{FailureNumber::DatabaseOpen,
                   QCoreApplication::translate("IndexBuild", "Could not index the database '%1': %2").arg(name, why)};
}

// Working memory of one thread per character of its batch: the character
// and two pairs, twice for the sort.
constexpr std::uint64_t kBatchBytesPerChar = sizeof(char32_t) + 4 * sizeof(std::uint64_t);

std::size_t batchCapacityFor(const BuildOptions &options, int threads)
{
    const std::uint64_t share = options.memoryBudget / 4 / std::uint64_t(threads) / kBatchBytesPerChar;
    return std::size_t(std::clamp<std::uint64_t>(share, 1 << 15, 1 << 21));
}

Result<CatalogueData> build(const IndexSource &source, PostingSink &sink, const BuildOptions &options)
{
    Handle own(nullptr, sqlite3_close_v2);
    sqlite3 *db = source.handle;
    if (!db) {
        own = openReadOnly(source.path);
        if (!own)
            return buildFailure(source, QCoreApplication::translate("IndexBuild", "cannot open the file"));
        db = own.get();
        // One read transaction for the catalogue and this thread's reads,
        // which also keeps writers out while the other threads read.
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    }
    Result<CatalogueData> catalogue = readCatalogue(db, options.cancel);
    if (!catalogue)
        return buildFailure(source, catalogue.failure().description);
    const int threads = source.handle ? 1 : std::max(1, options.threads);
    const std::size_t capacity = batchCapacityFor(options, threads);
    const std::uint64_t working = std::uint64_t(threads) * capacity * kBatchBytesPerChar + options.memoryBudget / 8;
    RunStore runs(options.scratchFolder, options.memoryBudget > working ? options.memoryBudget - working : 0);
    BuildState state(catalogue.value(), options, runs, capacity);
    {
        Helpers helpers(state);
        helpers.start(threads - 1, source.path);
        ChunkIndexer(state, db).run();
    }
    if (own)
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    if (options.cancel && options.cancel->load())
        return buildFailure(source, QCoreApplication::translate("IndexBuild", "cancelled"));
    if (!state.error().isEmpty())
        return buildFailure(source, state.error());
    if (!runs.finish())
        return buildFailure(source, runs.error());
    if (const Status merged = mergeRuns(runs, sink, threads, options.cancel); !merged)
        return buildFailure(source, merged.failure().description);
    catalogue->contentBytes = state.contentBytes();
    return catalogue;
}
}

Result<CatalogueData> buildIndex(const IndexSource &source, PostingSink &sink, const BuildOptions &options)
{
    try {
        return build(source, sink, options);
    } catch (const std::bad_alloc &) {
        return buildFailure(source, QCoreApplication::translate("IndexBuild", "out of memory"));
    }
}
