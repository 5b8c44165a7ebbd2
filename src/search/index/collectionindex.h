#pragma once

#include "failure.h"
#include "filestamp.h"
#include "indexfile.h"
#include "textkeys.h"

#include <roaring/roaring.hh>

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>
#include <optional>

// A kept index file opened for searching: the records in result order
// (ordinal i is the i-th row of "order by date desc, _rowid_") and, for
// every folded character and character pair, the ordinals of the records
// whose content holds it. A read that fails its checksum marks the index
// damaged; its answers are then nullopt and the caller scans instead.
class CollectionIndex {
public:
    // Opens the kept file at path when it was made for the database as
    // stamped. Failure: missing, damaged, or made for another file.
    static Result<std::shared_ptr<CollectionIndex>> open(const QString &path, const FileStamp &stamp);

    const FileStamp &stamp() const { return m_stamp; }
    std::size_t recordCount() const { return m_records; }
    bool damaged() const { return m_damaged.load(); }
    // Reads the whole file once and checks every block (tamvex-cli index).
    bool readsBackWhole() const { return m_file->verifyAll(); }

    // How a group of like patterns can be answered: the ordinals of every
    // record that may match, and whether they are exactly the matches (then
    // no content needs to be read). nullopt when the index is damaged.
    struct Answer {
        Roaring ordinals;
        bool exact = true;
    };
    // All: records matching every pattern; any: matching at least one.
    std::optional<Answer> answer(bool all, const QStringList &patterns) const;

    // Catalogue of a record by ordinal, read on first use (a small result
    // reads a few blocks; loadCatalogue reads it all for a large one). A
    // failed read gives 0 or empty text and marks the index damaged.
    std::int64_t rowid(std::uint32_t ordinal) const;
    QString subject(std::uint32_t ordinal) const { return textAt(2 * std::size_t(ordinal)); }
    QString htm(std::uint32_t ordinal) const { return textAt(2 * std::size_t(ordinal) + 1); }
    void loadCatalogue() const;
    // After loadCatalogue: the texts without a copy, pointing into the
    // index's memory; valid while the index lives.
    QString subjectView(std::uint32_t ordinal) const { return viewAt(2 * std::size_t(ordinal)); }
    QString htmView(std::uint32_t ordinal) const { return viewAt(2 * std::size_t(ordinal) + 1); }
    // The ordinals in SQLite's row id order (the any-term statement's).
    std::vector<std::uint32_t> inRowidOrder(const Roaring &ordinals) const;

    // The key when the pattern is exactly "records holding this folded
    // character (pair)": "%" + one or two literal characters + "%", or "%"
    // alone (any non-NULL content). nullopt otherwise.
    static std::optional<TextKeys::Key> exactKey(const QString &pattern);

    // Calls visit(key, encoded size of its list) for every key in ascending
    // order (benchmarks pick rare and frequent terms by it). False when the
    // key table could not be read.
    bool forEachKey(const std::function<void(TextKeys::Key, std::uint64_t)> &visit) const;

private:
    CollectionIndex() = default;
    QString textAt(std::size_t i) const;
    QString viewAt(std::size_t i) const;
    // The ordinals of a key (empty when no record holds it); nullopt when damaged.
    std::optional<Roaring> postings(TextKeys::Key key) const;
    std::optional<Roaring> runCandidates(const std::u32string &run) const;
    std::optional<Answer> patternAnswer(const QString &pattern) const;
    std::optional<Answer> setAnswer(const std::vector<std::u32string> &positions) const;

    template <typename T>
    bool readItem(std::uint64_t sectionAt, std::uint64_t i, T &value) const;
    const std::uint32_t *rankOf() const;

    std::unique_ptr<IndexFile::Reader> m_file;
    FileStamp m_stamp;
    std::size_t m_records = 0;
    mutable std::once_flag m_catalogueOnce, m_rankOnce;
    mutable const std::int64_t *m_rowids = nullptr;
    mutable const std::uint64_t *m_textOffsets = nullptr;
    mutable const char16_t *m_text = nullptr;
    mutable std::vector<std::uint32_t> m_rankOf;
    mutable std::atomic<bool> m_damaged{false};
};
