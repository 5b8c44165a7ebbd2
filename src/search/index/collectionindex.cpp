#include "collectionindex.h"

#include "likeliterals.h"
#include "setsequence.h"
#include "postingcodec.h"

#include <algorithm>
#include <cstring>

namespace {
// Pairs beyond this many of a long run add little: the rarest already
// leave few candidates for the matcher.
constexpr std::size_t kPairsPerRun = 4;

bool isPlainLiteral(char32_t c)
{
    return c != U'%' && c != U'_' && c != U'[' && c != U']' && c != 0 && c != 0xFFFD && !(c >= 0xD800 && c <= 0xDFFF);
}
}

Result<std::shared_ptr<CollectionIndex>> CollectionIndex::open(const QString &path, const FileStamp &stamp)
{
    auto reader = IndexFile::Reader::open(path, stamp);
    if (!reader.ok())
        return reader.failure();
    std::shared_ptr<CollectionIndex> index(new CollectionIndex);
    index->m_file = std::move(reader).value();
    index->m_stamp = stamp;
    index->m_records = std::size_t(index->m_file->layout().records);
    return index;
}

template <typename T>
bool CollectionIndex::readItem(std::uint64_t sectionAt, std::uint64_t i, T &value) const
{
    const char *at = m_file->bytes(sectionAt + i * sizeof(T), sizeof(T));
    if (!at) {
        m_damaged = true;
        return false;
    }
    std::memcpy(&value, at, sizeof(T));
    return true;
}

void CollectionIndex::loadCatalogue() const
{
    std::call_once(m_catalogueOnce, [this] {
        const IndexFile::Layout &l = m_file->layout();
        const std::uint64_t n = l.records;
        const auto *rowids = reinterpret_cast<const std::int64_t *>(m_file->bytes(l.rowidsAt, n * 8));
        const auto *offsets = reinterpret_cast<const std::uint64_t *>(m_file->bytes(l.textOffsetsAt, (2 * n + 1) * 8));
        const auto *text = reinterpret_cast<const char16_t *>(m_file->bytes(l.textAt, l.textUnits * 2));
        if (!rowids || !offsets || !text) {
            m_damaged = true;
            return;
        }
        m_rowids = rowids;
        m_textOffsets = offsets;
        m_text = text;
    });
}

std::int64_t CollectionIndex::rowid(std::uint32_t ordinal) const
{
    if (m_rowids)
        return m_rowids[ordinal];
    std::int64_t value = 0;
    readItem(m_file->layout().rowidsAt, ordinal, value);
    return value;
}

QString CollectionIndex::textAt(std::size_t i) const
{
    const IndexFile::Layout &l = m_file->layout();
    std::uint64_t from = 0, to = 0;
    if (m_textOffsets) {
        from = m_textOffsets[i];
        to = m_textOffsets[i + 1];
    } else if (!readItem(l.textOffsetsAt, i, from) || !readItem(l.textOffsetsAt, i + 1, to)) {
        return QString();
    }
    if (from > to || to > l.textUnits) {
        m_damaged = true;
        return QString();
    }
    const char *text = m_text ? reinterpret_cast<const char *>(m_text + from) : m_file->bytes(l.textAt + from * 2, (to - from) * 2);
    if (!text) {
        m_damaged = true;
        return QString();
    }
    return QString(reinterpret_cast<const QChar *>(text), qsizetype(to - from));
}

QString CollectionIndex::viewAt(std::size_t i) const
{
    if (!m_text)
        return textAt(i);
    const std::uint64_t from = m_textOffsets[i], to = m_textOffsets[i + 1];
    if (from > to || to > m_file->layout().textUnits) {
        m_damaged = true;
        return QString();
    }
    return QString::fromRawData(reinterpret_cast<const QChar *>(m_text + from), qsizetype(to - from));
}

const std::uint32_t *CollectionIndex::rankOf() const
{
    std::call_once(m_rankOnce, [this] {
        const IndexFile::Layout &l = m_file->layout();
        const auto *byRowid = reinterpret_cast<const std::uint32_t *>(m_file->bytes(l.rowidOrderAt, l.records * 4));
        if (!byRowid) {
            m_damaged = true;
            return;
        }
        std::vector<std::uint32_t> rank(m_records, UINT32_MAX);
        for (std::uint32_t r = 0; r < m_records; ++r) {
            if (byRowid[r] >= m_records || rank[byRowid[r]] != UINT32_MAX) {
                m_damaged = true;
                return;
            }
            rank[byRowid[r]] = r;
        }
        m_rankOf = std::move(rank);
    });
    return m_rankOf.empty() ? nullptr : m_rankOf.data();
}

std::vector<std::uint32_t> CollectionIndex::inRowidOrder(const Roaring &ordinals) const
{
    std::vector<std::uint32_t> out;
    out.reserve(ordinals.cardinality());
    // A few records: sort them by their row ids; many: go through the
    // row id order of the whole collection.
    if (ordinals.cardinality() * 32 < m_records) {
        std::vector<std::pair<std::int64_t, std::uint32_t>> keyed;
        for (const std::uint32_t ordinal : ordinals)
            keyed.emplace_back(rowid(ordinal), ordinal);
        std::sort(keyed.begin(), keyed.end());
        for (const auto &[row, ordinal] : keyed)
            out.push_back(ordinal);
        return out;
    }
    const std::uint32_t *rank = rankOf();
    const IndexFile::Layout &l = m_file->layout();
    const auto *byRowid = reinterpret_cast<const std::uint32_t *>(m_file->bytes(l.rowidOrderAt, l.records * 4));
    if (!rank || !byRowid)
        return out;
    Roaring ranks;
    for (const std::uint32_t ordinal : ordinals)
        ranks.add(rank[ordinal]);
    for (const std::uint32_t r : ranks)
        out.push_back(byRowid[r]);
    return out;
}

std::optional<TextKeys::Key> CollectionIndex::exactKey(const QString &pattern)
{
    const QList<uint> cps = QStringView(pattern).toUcs4();
    const auto [b, e] = betweenPercentSigns(cps);
    if (b == cps.size() && b > 0)
        return TextKeys::kContentKey; // "%" signs alone: any content
    if (b == 0 || e == cps.size() || e - b > 2)
        return std::nullopt; // anchored at an end, or longer than a pair
    std::vector<char32_t> run;
    for (qsizetype i = b; i < e; ++i) {
        if (!isPlainLiteral(char32_t(cps[i])))
            return std::nullopt;
        run.push_back(TextKeys::fold(char32_t(cps[i])));
    }
    if (run.empty())
        return TextKeys::kContentKey;
    return run.size() == 1 ? TextKeys::unigram(run[0]) : TextKeys::bigram(run[0], run[1]);
}

namespace {
struct GroupEntry {
    TextKeys::Key firstKey = 0;
    std::uint64_t firstOffset = 0, packedFrom = 0, packedTo = 0;
};

// Directory entry g and the byte range of its packed entries; false when a
// read failed or the entry is out of order.
bool groupAt(IndexFile::Reader &file, std::uint64_t g, GroupEntry &entry)
{
    const IndexFile::Layout &l = file.layout();
    const std::uint64_t groups = (l.keys + IndexFile::kKeyGroup - 1) / IndexFile::kKeyGroup;
    const char *at = file.bytes(l.keysAt + g * IndexFile::kDirectoryEntryBytes, IndexFile::kDirectoryEntryBytes);
    if (!at)
        return false;
    std::memcpy(&entry.firstKey, at, 8);
    std::memcpy(&entry.firstOffset, at + 8, 8);
    std::memcpy(&entry.packedFrom, at + 16, 8);
    entry.packedTo = l.groupBytes;
    if (g + 1 < groups) {
        const char *next = file.bytes(l.keysAt + (g + 1) * IndexFile::kDirectoryEntryBytes + 16, 8);
        if (!next)
            return false;
        std::memcpy(&entry.packedTo, next, 8);
    }
    return entry.packedFrom <= entry.packedTo && entry.packedTo <= l.groupBytes;
}

// Calls visit(key, from, to) for the keys of group g in order until it
// returns false. False when the group could not be read or is damaged.
template <typename Visit>
bool forEachInGroup(IndexFile::Reader &file, std::uint64_t g, Visit &&visit)
{
    const IndexFile::Layout &l = file.layout();
    GroupEntry entry;
    if (!groupAt(file, g, entry))
        return false;
    const char *packed = file.bytes(l.groupsAt + entry.packedFrom, entry.packedTo - entry.packedFrom);
    if (!packed && entry.packedTo > entry.packedFrom)
        return false;
    const auto *p = reinterpret_cast<const std::uint8_t *>(packed);
    const auto *end = p + (entry.packedTo - entry.packedFrom);
    const std::uint64_t count = std::min(IndexFile::kKeyGroup, l.keys - g * IndexFile::kKeyGroup);
    TextKeys::Key key = entry.firstKey;
    std::uint64_t from = entry.firstOffset;
    for (std::uint64_t i = 0; i < count; ++i) {
        std::uint64_t delta = 0, length = 0;
        if ((i > 0 && !Varint::readWithin(p, end, delta)) || !Varint::readWithin(p, end, length))
            return false;
        key += delta;
        if (from < l.postingsAt || length > l.keysAt - from)
            return false;
        if (!visit(key, from, from + length))
            return true;
        from += length;
    }
    return true;
}

// The byte range of key's list among the postings: 1 found, 0 no record
// holds the key, -1 a read failed or the key table is damaged.
int locate(IndexFile::Reader &file, TextKeys::Key key, std::uint64_t &from, std::uint64_t &to)
{
    const IndexFile::Layout &l = file.layout();
    std::uint64_t low = 0, high = (l.keys + IndexFile::kKeyGroup - 1) / IndexFile::kKeyGroup;
    // The last group whose first key is not above key.
    while (low < high) {
        const std::uint64_t mid = low + (high - low) / 2;
        GroupEntry entry;
        if (!groupAt(file, mid, entry))
            return -1;
        if (entry.firstKey <= key)
            low = mid + 1;
        else
            high = mid;
    }
    if (low == 0)
        return 0;
    int found = 0;
    const bool read = forEachInGroup(file, low - 1, [&](TextKeys::Key k, std::uint64_t a, std::uint64_t b) {
        if (k == key) {
            from = a;
            to = b;
            found = 1;
        }
        return k < key;
    });
    return read ? found : -1;
}
}

std::optional<Roaring> CollectionIndex::postings(TextKeys::Key key) const
{
    std::uint64_t from = 0, to = 0;
    const int found = locate(*m_file, key, from, to);
    if (found == 0)
        return Roaring();
    const char *bytes = found > 0 ? m_file->bytes(from, to - from) : nullptr;
    std::optional<Roaring> list = bytes ? PostingCodec::decode(bytes, to - from) : std::nullopt;
    if (!list || (list->cardinality() && list->maximum() >= m_records)) {
        m_damaged = true;
        return std::nullopt;
    }
    return list;
}

std::optional<Roaring> CollectionIndex::runCandidates(const std::u32string &run) const
{
    std::vector<TextKeys::Key> keys;
    if (run.size() == 1)
        keys.push_back(TextKeys::unigram(run[0]));
    for (std::size_t i = 0; i + 1 < run.size(); ++i)
        keys.push_back(TextKeys::bigram(run[i], run[i + 1]));
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    std::vector<Roaring> lists;
    for (const TextKeys::Key key : keys) {
        std::optional<Roaring> list = postings(key);
        if (!list)
            return std::nullopt;
        if (list->isEmpty())
            return Roaring();
        lists.push_back(std::move(*list));
    }
    std::sort(lists.begin(), lists.end(), [](const Roaring &a, const Roaring &b) { return a.cardinality() < b.cardinality(); });
    if (lists.size() > kPairsPerRun)
        lists.resize(kPairsPerRun);
    Roaring rows = std::move(lists[0]);
    for (std::size_t k = 1; k < lists.size() && !rows.isEmpty(); ++k)
        rows &= lists[k];
    return rows;
}

std::optional<CollectionIndex::Answer> CollectionIndex::patternAnswer(const QString &pattern) const
{
    if (const std::optional<TextKeys::Key> key = exactKey(pattern)) {
        std::optional<Roaring> rows = postings(*key);
        if (!rows)
            return std::nullopt;
        return Answer{std::move(*rows), true};
    }
    if (const auto positions = setSequence(pattern, &TextKeys::fold))
        return setAnswer(*positions);
    // Every record a pattern can match has content; its literal runs narrow
    // that further.
    std::optional<Roaring> rows = postings(TextKeys::kContentKey);
    for (const std::u32string &run : literalRuns(pattern)) {
        if (!rows || rows->isEmpty())
            break;
        std::optional<Roaring> runRows = runCandidates(run);
        if (!runRows)
            return std::nullopt;
        *rows &= *runRows;
    }
    if (!rows)
        return std::nullopt;
    return Answer{std::move(*rows), false};
}

// A variant search's pattern: for every position a record holds one of its
// characters, and for neighbouring positions one of their pairs. The pairs
// are asked for while they are few, and cover their characters; the other
// positions are asked for by their characters. One position, or two by
// their pairs, is exact.
std::optional<CollectionIndex::Answer> CollectionIndex::setAnswer(const std::vector<std::u32string> &positions) const
{
    constexpr std::size_t kMostPairs = 16;
    std::vector<std::vector<TextKeys::Key>> unions;
    std::vector<bool> covered(positions.size(), false);
    for (std::size_t i = 0; i + 1 < positions.size(); ++i) {
        if (positions[i].size() * positions[i + 1].size() > kMostPairs)
            continue;
        std::vector<TextKeys::Key> keys;
        for (const char32_t a : positions[i])
            for (const char32_t b : positions[i + 1])
                keys.push_back(TextKeys::bigram(a, b));
        unions.push_back(std::move(keys));
        covered[i] = covered[i + 1] = true;
    }
    for (std::size_t i = 0; i < positions.size(); ++i) {
        if (covered[i])
            continue;
        std::vector<TextKeys::Key> keys;
        for (const char32_t c : positions[i])
            keys.push_back(TextKeys::unigram(c));
        unions.push_back(std::move(keys));
    }
    std::vector<Roaring> lists;
    for (const std::vector<TextKeys::Key> &keys : unions) {
        Roaring rows;
        for (const TextKeys::Key key : keys) {
            std::optional<Roaring> list = postings(key);
            if (!list)
                return std::nullopt;
            rows |= *list;
        }
        if (rows.isEmpty())
            return Answer{Roaring(), true};
        lists.push_back(std::move(rows));
    }
    std::sort(lists.begin(), lists.end(), [](const Roaring &a, const Roaring &b) { return a.cardinality() < b.cardinality(); });
    Roaring rows = std::move(lists[0]);
    for (std::size_t k = 1; k < lists.size() && !rows.isEmpty(); ++k)
        rows &= lists[k];
    const bool exact = positions.size() == 1 || (positions.size() == 2 && unions.size() == 1 && covered[0]);
    return Answer{std::move(rows), exact};
}

std::optional<CollectionIndex::Answer> CollectionIndex::answer(bool all, const QStringList &patterns) const
{
    std::optional<Answer> result;
    for (const QString &pattern : patterns) {
        std::optional<Answer> one = patternAnswer(pattern);
        if (!one)
            return std::nullopt;
        if (!result) {
            result = std::move(one);
            continue;
        }
        if (all)
            result->ordinals &= one->ordinals;
        else
            result->ordinals |= one->ordinals;
        result->exact = result->exact && one->exact;
    }
    if (!result)
        return Answer{Roaring(), true};
    return result;
}

bool CollectionIndex::forEachKey(const std::function<void(TextKeys::Key, std::uint64_t)> &visit) const
{
    const IndexFile::Layout &l = m_file->layout();
    const std::uint64_t groups = (l.keys + IndexFile::kKeyGroup - 1) / IndexFile::kKeyGroup;
    for (std::uint64_t g = 0; g < groups; ++g) {
        const bool read = forEachInGroup(*m_file, g, [&](TextKeys::Key key, std::uint64_t from, std::uint64_t to) {
            visit(key, to - from);
            return true;
        });
        if (!read)
            return false;
    }
    return true;
}
