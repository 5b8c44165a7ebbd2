#pragma once

#include "catalogue.h"
#include "failure.h"
#include "filestamp.h"
#include "postingsink.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// The kept index of a collection, one file: a header bound to the
// database's FileStamp, the postings (PostingCodec lists), the sorted keys
// and their offsets, the catalogue (row ids, the any-term order, titles and
// page paths), and an XXH3 checksum of every 64 KB block. The file is never
// mapped: blocks are read into the program's own memory when first needed
// and checked then, so a damaged file is an error and a file truncated or
// rewritten under the program cannot raise a signal.
namespace IndexFile {

inline constexpr std::uint64_t kBlockBytes = 64 * 1024;
// Keys are kept in groups of this many: a directory entry per group (its
// first key, the offset of that key's list, where its entries start) and,
// per key, the varint distance to the key before and its list's length.
inline constexpr std::uint64_t kKeyGroup = 64;
inline constexpr std::uint64_t kDirectoryEntryBytes = 24;

// The name the index of a database is kept under inside a folder.
QString fileNameFor(const FileStamp &stamp);

// Streams an index file as the build hands over postings: written under a
// temporary name beside path and put in place by finish(), so that a
// reader never sees half a file; a writer dropped before finish() leaves
// nothing behind.
class Writer : public PostingSink {
public:
    Writer(QString path, FileStamp stamp);
    ~Writer() override;

    // False when the file could not be created.
    bool open();
    bool add(TextKeys::Key key, const std::uint32_t *ordinals, std::size_t count) override;
    // Writes the catalogue, the checksums and the header, then renames.
    Status finish(const CatalogueData &catalogue);

private:
    bool write(const void *data, std::size_t bytes);
    bool flushBlock();
    bool writeArray(const void *data, std::size_t bytes); // aligned to 8
    void packKeys(std::vector<std::uint64_t> &directory, std::string &groups) const;

    QString m_path;
    QString m_tempPath;
    FileStamp m_stamp;
    int m_fd = -1;
    bool m_failed = false;
    std::uint64_t m_written = 0; // bytes past the header area
    std::string m_block;
    std::vector<std::uint64_t> m_blockHashes;
    std::vector<TextKeys::Key> m_keys;
    std::vector<std::uint64_t> m_offsets;
    std::string m_scratch;
};

// The sections of an opened index file, as byte ranges of the file:
// keysAt is the key directory, groupsAt the packed key entries.
struct Layout {
    std::uint64_t records = 0;
    std::uint64_t keys = 0;
    std::uint64_t postingsAt = 0, keysAt = 0, groupsAt = 0, groupBytes = 0, rowidsAt = 0, rowidOrderAt = 0,
                  textOffsetsAt = 0, textAt = 0, textUnits = 0, end = 0;
};

// An index file opened for reading. Sections are read block by block on
// first use and checked against their checksums.
class Reader {
public:
    ~Reader();

    // Opens the file and checks its header against the stamp. Failure:
    // missing, damaged, of another format or made for another file.
    static Result<std::unique_ptr<Reader>> open(const QString &path, const FileStamp &stamp);

    const Layout &layout() const { return m_layout; }
    // The bytes [offset, offset + size) of the file, read and checked;
    // nullptr when they cannot be read or fail their checksum.
    const char *bytes(std::uint64_t offset, std::uint64_t size);
    std::uint64_t fileSize() const { return m_size; }
    // True when every block of the file reads back and fits its checksum
    // (reads the file once without keeping it).
    bool verifyAll() const;

private:
    Reader() = default;
    bool loadBlock(std::uint64_t block);

    int m_fd = -1;
    std::uint64_t m_size = 0;
    Layout m_layout;
    char *m_memory = nullptr; // anonymous memory the size of the file
    std::vector<std::uint64_t> m_hashes;
    std::vector<char> m_loaded; // per block: 0 not read, 1 good, 2 bad
    std::mutex m_mutex;
};
}
