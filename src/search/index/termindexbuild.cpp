#include "termindexbuild.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <thread>

namespace {

using Key = TextKeys::Key;

// Postings of one range of rows while they are being collected: an open
// addressing table from key to entry, each entry growing its varints.
class PostingCollector {
public:
    PostingCollector() : m_slots(1 << 16, kEmpty), m_mask((1 << 16) - 1) {}

    void add(Key key, std::int64_t row)
    {
        Entry &e = entryFor(key);
        if (e.count && e.last == row)
            return;
        Varint::append(e.bytes, std::uint64_t(row) - std::uint64_t(e.count ? e.last : 0));
        e.last = row;
        ++e.count;
    }

    struct Entry {
        Key key = 0;
        std::int64_t last = 0;
        std::uint64_t count = 0;
        std::string bytes;
    };
    std::vector<Entry> &entries() { return m_entries; }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;

    static std::size_t hash(Key key) { return std::size_t((key * 0x9E3779B97F4A7C15ull) >> 20); }

    Entry &entryFor(Key key)
    {
        for (std::size_t s = hash(key) & m_mask;; s = (s + 1) & m_mask) {
            const std::uint32_t at = m_slots[s];
            if (at == kEmpty) {
                m_slots[s] = std::uint32_t(m_entries.size());
                m_entries.push_back(Entry{key, 0, 0, {}});
                if (m_entries.size() * 2 > m_slots.size())
                    grow();
                return m_entries.back();
            }
            if (m_entries[at].key == key)
                return m_entries[at];
        }
    }

    void grow()
    {
        m_slots.assign(m_slots.size() * 2, kEmpty);
        m_mask = m_slots.size() - 1;
        for (std::uint32_t i = 0; i < m_entries.size(); ++i) {
            std::size_t s = hash(m_entries[i].key) & m_mask;
            while (m_slots[s] != kEmpty)
                s = (s + 1) & m_mask;
            m_slots[s] = i;
        }
    }

    std::vector<std::uint32_t> m_slots;
    std::size_t m_mask;
    std::vector<Entry> m_entries;
};

using Handle = std::unique_ptr<sqlite3, int (*)(sqlite3 *)>;

Handle openReadOnly(const QString &path)
{
    sqlite3 *raw = nullptr;
    const QByteArray native = QFile::encodeName(path);
    const int rc = sqlite3_open_v2(native.constData(), &raw, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, nullptr);
    Handle db(raw, sqlite3_close_v2);
    if (rc != SQLITE_OK)
        return Handle(nullptr, sqlite3_close_v2);
    sqlite3_busy_timeout(raw, 3000);
    sqlite3_exec(raw, "PRAGMA mmap_size=4294967296", nullptr, nullptr, nullptr);
    return db;
}

Failure buildFailure(const QString &path, const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen, QStringLiteral("Could not index the database '%1': %2").arg(path, why)};
}

void indexValue(PostingCollector &collector, std::int64_t row, std::string_view value)
{
    bool first = true;
    char32_t previous = 0;
    TextKeys::forEachFolded(value, [&](char32_t c) {
        collector.add(TextKeys::unigram(c), row);
        if (!first)
            collector.add(TextKeys::bigram(previous, c), row);
        previous = c;
        first = false;
    });
}

// Collects the rows with lowRow <= rowid <= highRow. Returns false on an
// SQLite failure or when cancelled.
bool collectRange(const QString &path, std::int64_t lowRow, std::int64_t highRow, const std::atomic<bool> &cancel,
                  PostingCollector &collector, QString &error)
{
    const Handle db = openReadOnly(path);
    sqlite3_stmt *stmt = nullptr;
    const char *sql = "SELECT rowid, content FROM maindata WHERE rowid >= ?1 AND rowid <= ?2";
    if (!db || sqlite3_prepare_v2(db.get(), sql, -1, &stmt, nullptr) != SQLITE_OK) {
        error = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QStringLiteral("cannot open the file");
        return false;
    }
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
    sqlite3_bind_int64(stmt, 1, lowRow);
    sqlite3_bind_int64(stmt, 2, highRow);
    int rc;
    for (unsigned n = 0; (rc = sqlite3_step(stmt)) == SQLITE_ROW; ++n) {
        if ((n & 255) == 0 && cancel.load(std::memory_order_relaxed))
            return error = QStringLiteral("cancelled"), false;
        if (sqlite3_column_type(stmt, 1) == SQLITE_NULL)
            continue;
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 1));
        const std::size_t bytes = std::size_t(sqlite3_column_bytes(stmt, 1));
        indexValue(collector, sqlite3_column_int64(stmt, 0), std::string_view(text ? text : "", bytes));
    }
    if (rc != SQLITE_DONE)
        return error = QString::fromUtf8(sqlite3_errmsg(db.get())), false;
    return true;
}

// Bounds splitting the table's rowids into `parts` ranges of about equal
// row counts: range p runs from bounds[p] to bounds[p + 1] - 1, the last one
// to INT64_MAX.
bool rangeBounds(const QString &path, int parts, std::vector<std::int64_t> &bounds, QString &error)
{
    const Handle db = openReadOnly(path);
    sqlite3_stmt *stmt = nullptr;
    if (!db || sqlite3_prepare_v2(db.get(), "SELECT rowid FROM maindata", -1, &stmt, nullptr) != SQLITE_OK) {
        error = db ? QString::fromUtf8(sqlite3_errmsg(db.get())) : QStringLiteral("cannot open the file");
        return false;
    }
    std::vector<std::int64_t> rows;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        rows.push_back(sqlite3_column_int64(stmt, 0));
    sqlite3_finalize(stmt);
    std::sort(rows.begin(), rows.end());
    bounds = {INT64_MIN};
    for (int p = 1; p < parts; ++p)
        if (!rows.empty())
            bounds.push_back(rows[rows.size() * std::size_t(p) / std::size_t(parts)]);
    bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
    return true;
}
}

namespace {

// Appends one collector's bytes for a key, its first difference taken
// again against the last row already written for that key.
void appendPart(std::vector<std::uint8_t> &blob, const std::string &bytes, bool hasPrevious, std::int64_t previous)
{
    const auto *p = reinterpret_cast<const std::uint8_t *>(bytes.data());
    const std::uint64_t first = Varint::read(p);
    std::string head;
    Varint::append(head, hasPrevious ? first - std::uint64_t(previous) : first);
    blob.insert(blob.end(), head.begin(), head.end());
    blob.insert(blob.end(), p, reinterpret_cast<const std::uint8_t *>(bytes.data() + bytes.size()));
}

// Joins collectors over ascending, disjoint rowid ranges into one table.
PostingTable mergeCollectors(std::vector<PostingCollector> &parts)
{
    std::size_t total = 0;
    for (PostingCollector &part : parts) {
        auto &entries = part.entries();
        std::sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) { return a.key < b.key; });
        for (const auto &e : entries)
            total += e.bytes.size() + 2;
    }
    std::vector<Key> keys;
    std::vector<std::uint64_t> offsets;
    std::vector<std::uint8_t> blob;
    blob.reserve(total);
    std::vector<std::size_t> at(parts.size(), 0);
    for (;;) {
        Key next = UINT64_MAX;
        bool any = false;
        for (std::size_t p = 0; p < parts.size(); ++p)
            if (at[p] < parts[p].entries().size()) {
                next = std::min(next, parts[p].entries()[at[p]].key);
                any = true;
            }
        if (!any)
            break;
        keys.push_back(next);
        offsets.push_back(blob.size());
        bool hasPrevious = false;
        std::int64_t previous = 0;
        for (std::size_t p = 0; p < parts.size(); ++p) {
            auto &entries = parts[p].entries();
            if (at[p] >= entries.size() || entries[at[p]].key != next)
                continue;
            auto &e = entries[at[p]++];
            appendPart(blob, e.bytes, hasPrevious, previous);
            hasPrevious = true;
            previous = e.last;
            std::string().swap(e.bytes);
        }
    }
    offsets.push_back(blob.size());
    blob.shrink_to_fit();
    return PostingTable::fromVectors(std::move(keys), std::move(offsets), std::move(blob));
}
}

Result<PostingTable> buildPostings(const QString &path, const std::atomic<bool> &cancel, int threads)
{
    QString error;
    std::vector<std::int64_t> bounds;
    if (!rangeBounds(path, std::max(1, threads), bounds, error))
        return buildFailure(path, error);
    const std::size_t parts = bounds.size();
    std::vector<PostingCollector> collectors(parts);
    std::vector<QString> errors(parts);
    std::vector<char> done(parts, 0);
    std::vector<std::thread> workers;
    for (std::size_t p = 0; p < parts; ++p) {
        const std::int64_t high = p + 1 < parts ? bounds[p + 1] - 1 : INT64_MAX;
        workers.emplace_back([&, p, high] {
            done[p] = collectRange(path, bounds[p], high, cancel, collectors[p], errors[p]) ? 1 : 0;
        });
    }
    for (std::thread &worker : workers)
        worker.join();
    for (std::size_t p = 0; p < parts; ++p)
        if (!done[p])
            return buildFailure(path, errors[p]);
    return mergeCollectors(collectors);
}
