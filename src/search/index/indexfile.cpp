#include "indexfile.h"

#include <QCoreApplication>

#include "postingcodec.h"

#include <QCryptographicHash>
#include <QFile>

#include <xxhash.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <numeric>

namespace IndexFile {
namespace {

constexpr char kMagic[8] = {'T', 'V', 'X', 'I', 'D', 'X', '0', '2'};
constexpr std::uint32_t kVersion = 3;
constexpr std::uint64_t kHeaderArea = kBlockBytes; // the header lives in the first block alone
constexpr std::size_t kMaxPathBytes = 8192;

struct Header {
    char magic[8];
    std::uint32_t version;
    std::uint32_t pathBytes;
    std::uint64_t device, inode, size;
    std::int64_t modifiedNs, changedNs;
    std::uint64_t headHash;
    Layout layout;
    std::uint64_t hashCount;
    std::uint64_t hashesHash;
    std::uint64_t areaHash; // of the whole header area with this field zero
};

Failure fileFailure(const QString &path, const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen, QCoreApplication::translate("IndexFile", "Index file '%1': %2").arg(path, why)};
}

bool readAt(int fd, void *into, std::uint64_t bytes, std::uint64_t at)
{
    auto *p = static_cast<char *>(into);
    while (bytes) {
        const ssize_t n = ::pread(fd, p, bytes, off_t(at));
        if (n <= 0)
            return false;
        p += n;
        at += std::uint64_t(n);
        bytes -= std::uint64_t(n);
    }
    return true;
}

bool writeAt(int fd, const void *from, std::uint64_t bytes, std::uint64_t at)
{
    const auto *p = static_cast<const char *>(from);
    while (bytes) {
        const ssize_t n = ::pwrite(fd, p, bytes, off_t(at));
        if (n <= 0)
            return false;
        p += n;
        at += std::uint64_t(n);
        bytes -= std::uint64_t(n);
    }
    return true;
}

// The header area: the header, the stamp's path, zeros up to the first
// block of postings. Its hash covers every byte of it.
std::vector<char> headerArea(const Header &header, const QByteArray &path)
{
    std::vector<char> area(kHeaderArea, '\0');
    std::memcpy(area.data(), &header, sizeof header);
    std::memcpy(area.data() + sizeof header, path.constData(), std::size_t(path.size()));
    return area;
}

std::uint64_t areaHash(std::vector<char> area)
{
    std::memset(area.data() + offsetof(Header, areaHash), 0, sizeof(std::uint64_t));
    return XXH3_64bits(area.data(), area.size());
}

bool sameStamp(const Header &h, const FileStamp &s)
{
    return h.device == s.device && h.inode == s.inode && h.size == s.size && h.modifiedNs == s.modifiedNs
        && h.changedNs == s.changedNs && h.headHash == s.headHash;
}
}

QString fileNameFor(const FileStamp &stamp)
{
    const QByteArray hash = QCryptographicHash::hash(stamp.path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tamvex-index-%1.idx").arg(QString::fromLatin1(hash));
}

Writer::Writer(QString path, FileStamp stamp) : m_path(std::move(path)), m_stamp(std::move(stamp)) {}

Writer::~Writer()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        ::unlink(QFile::encodeName(m_tempPath).constData());
    }
}

bool Writer::open()
{
    m_tempPath = m_path + QStringLiteral(".%1.part").arg(::getpid());
    m_fd = ::open(QFile::encodeName(m_tempPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    m_block.reserve(kBlockBytes);
    return m_fd >= 0;
}

bool Writer::flushBlock()
{
    if (m_block.empty())
        return true;
    m_blockHashes.push_back(XXH3_64bits(m_block.data(), m_block.size()));
    const bool ok = writeAt(m_fd, m_block.data(), m_block.size(), kHeaderArea + m_written - m_block.size());
    m_block.clear();
    return ok;
}

bool Writer::write(const void *data, std::size_t bytes)
{
    const auto *p = static_cast<const char *>(data);
    while (bytes && !m_failed) {
        const std::size_t room = std::min<std::size_t>(bytes, kBlockBytes - m_block.size());
        m_block.append(p, room);
        m_written += room;
        p += room;
        bytes -= room;
        if (m_block.size() == kBlockBytes && !flushBlock())
            m_failed = true;
    }
    return !m_failed;
}

bool Writer::writeArray(const void *data, std::size_t bytes)
{
    static const char zeros[8] = {};
    const std::size_t pad = (8 - m_written % 8) % 8;
    return write(zeros, pad) && write(data, bytes);
}

bool Writer::add(TextKeys::Key key, const std::uint32_t *ordinals, std::size_t count)
{
    if (m_fd < 0 || m_failed)
        return false;
    m_keys.push_back(key);
    m_offsets.push_back(kHeaderArea + m_written);
    m_scratch.clear();
    PostingCodec::encode(ordinals, count, m_scratch);
    return write(m_scratch.data(), m_scratch.size());
}

void Writer::packKeys(std::vector<std::uint64_t> &directory, std::string &groups) const
{
    const std::size_t n = m_keys.size();
    for (std::size_t first = 0; first < n; first += kKeyGroup) {
        directory.insert(directory.end(), {m_keys[first], m_offsets[first], std::uint64_t(groups.size())});
        for (std::size_t i = first; i < std::min<std::size_t>(n, first + kKeyGroup); ++i) {
            if (i > first)
                Varint::append(groups, m_keys[i] - m_keys[i - 1]);
            Varint::append(groups, m_offsets[i + 1] - m_offsets[i]);
        }
    }
}

Status Writer::finish(const CatalogueData &catalogue)
{
    if (m_fd < 0 || m_failed)
        return fileFailure(m_path, QCoreApplication::translate("IndexFile", "cannot be written"));
    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.version = kVersion;
    Layout &l = h.layout;
    l.records = catalogue.size();
    l.keys = m_keys.size();
    l.postingsAt = kHeaderArea;
    m_offsets.push_back(kHeaderArea + m_written);
    // The any-term statement lists rows in row id order: ordinals by row id.
    std::vector<std::uint32_t> byRowid(catalogue.size());
    std::iota(byRowid.begin(), byRowid.end(), 0u);
    std::sort(byRowid.begin(), byRowid.end(),
              [&](std::uint32_t a, std::uint32_t b) { return catalogue.rowids[a] < catalogue.rowids[b]; });
    const auto section = [&](std::uint64_t &at, const void *data, std::size_t bytes) {
        const bool ok = writeArray(nullptr, 0);
        at = kHeaderArea + m_written;
        return ok && write(data, bytes);
    };
    std::vector<std::uint64_t> directory;
    std::string groups;
    packKeys(directory, groups);
    l.groupBytes = groups.size();
    bool ok = section(l.keysAt, directory.data(), directory.size() * 8)
        && section(l.groupsAt, groups.data(), groups.size())
        && section(l.rowidsAt, catalogue.rowids.data(), catalogue.rowids.size() * 8)
        && section(l.rowidOrderAt, byRowid.data(), byRowid.size() * 4)
        && section(l.textOffsetsAt, catalogue.offsets.data(), catalogue.offsets.size() * 8)
        && section(l.textAt, catalogue.text.data(), catalogue.text.size() * 2) && flushBlock();
    l.textUnits = catalogue.text.size();
    l.end = kHeaderArea + m_written;
    h.device = m_stamp.device;
    h.inode = m_stamp.inode;
    h.size = m_stamp.size;
    h.modifiedNs = m_stamp.modifiedNs;
    h.changedNs = m_stamp.changedNs;
    h.headHash = m_stamp.headHash;
    const QByteArray path = m_stamp.path.toUtf8();
    h.pathBytes = std::uint32_t(std::min<qsizetype>(path.size(), kMaxPathBytes));
    h.hashCount = m_blockHashes.size();
    h.hashesHash = XXH3_64bits(m_blockHashes.data(), m_blockHashes.size() * 8);
    const QByteArray storedPath = path.left(h.pathBytes);
    h.areaHash = 0;
    std::vector<char> area = headerArea(h, storedPath);
    h.areaHash = areaHash(area);
    std::memcpy(area.data(), &h, sizeof h);
    ok = ok && writeAt(m_fd, m_blockHashes.data(), m_blockHashes.size() * 8, l.end)
        && writeAt(m_fd, area.data(), area.size(), 0);
    ok = ::close(m_fd) == 0 && ok;
    m_fd = -1;
    const QByteArray temp = QFile::encodeName(m_tempPath);
    if (!ok || ::rename(temp.constData(), QFile::encodeName(m_path).constData()) != 0) {
        ::unlink(temp.constData());
        return fileFailure(m_path, QCoreApplication::translate("IndexFile", "cannot be written"));
    }
    return {};
}

Reader::~Reader()
{
    if (m_memory)
        ::munmap(m_memory, m_size);
    if (m_fd >= 0)
        ::close(m_fd);
}

Result<std::unique_ptr<Reader>> Reader::open(const QString &path, const FileStamp &stamp)
{
    std::unique_ptr<Reader> r(new Reader);
    r->m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (r->m_fd < 0)
        return fileFailure(path, QCoreApplication::translate("IndexFile", "missing"));
    const off_t size = ::lseek(r->m_fd, 0, SEEK_END);
    Header h{};
    std::vector<char> area(kHeaderArea);
    if (size < off_t(kHeaderArea) || !readAt(r->m_fd, area.data(), kHeaderArea, 0))
        return fileFailure(path, QCoreApplication::translate("IndexFile", "too short"));
    std::memcpy(&h, area.data(), sizeof h);
    if (std::memcmp(h.magic, kMagic, sizeof kMagic) != 0 || h.version != kVersion || h.pathBytes > kMaxPathBytes)
        return fileFailure(path, QCoreApplication::translate("IndexFile", "of another format"));
    if (h.areaHash != areaHash(area))
        return fileFailure(path, QCoreApplication::translate("IndexFile", "damaged header"));
    const QByteArray storedPath(area.data() + sizeof h, h.pathBytes);
    if (!sameStamp(h, stamp) || storedPath != stamp.path.toUtf8().left(h.pathBytes))
        return fileFailure(path, QCoreApplication::translate("IndexFile", "made for another database file"));
    const Layout &l = h.layout;
    const std::uint64_t dataBlocks = (l.end - kHeaderArea + kBlockBytes - 1) / kBlockBytes;
    if (l.end < kHeaderArea || h.hashCount != dataBlocks || std::uint64_t(size) != l.end + h.hashCount * 8)
        return fileFailure(path, QCoreApplication::translate("IndexFile", "damaged (sizes)"));
    r->m_hashes.resize(h.hashCount);
    if (!readAt(r->m_fd, r->m_hashes.data(), h.hashCount * 8, l.end)
        || XXH3_64bits(r->m_hashes.data(), h.hashCount * 8) != h.hashesHash)
        return fileFailure(path, QCoreApplication::translate("IndexFile", "damaged checksums"));
    r->m_size = l.end;
    void *memory = ::mmap(nullptr, r->m_size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (memory == MAP_FAILED)
        return fileFailure(path, QCoreApplication::translate("IndexFile", "no memory to read it"));
    r->m_memory = static_cast<char *>(memory);
    r->m_loaded.assign(h.hashCount, 0);
    r->m_layout = l;
    return r;
}

bool Reader::loadBlock(std::uint64_t block)
{
    if (m_loaded[block])
        return m_loaded[block] == 1;
    const std::uint64_t at = kHeaderArea + block * kBlockBytes;
    const std::uint64_t bytes = std::min(kBlockBytes, m_size - at);
    const bool good = readAt(m_fd, m_memory + at, bytes, at) && XXH3_64bits(m_memory + at, bytes) == m_hashes[block];
    m_loaded[block] = good ? 1 : 2;
    return good;
}

bool Reader::verifyAll() const
{
    std::vector<char> block(kBlockBytes);
    for (std::uint64_t b = 0; b < m_hashes.size(); ++b) {
        const std::uint64_t at = kHeaderArea + b * kBlockBytes;
        const std::uint64_t bytes = std::min(kBlockBytes, m_size - at);
        if (!readAt(m_fd, block.data(), bytes, at) || XXH3_64bits(block.data(), bytes) != m_hashes[b])
            return false;
    }
    return true;
}

const char *Reader::bytes(std::uint64_t offset, std::uint64_t size)
{
    if (offset < kHeaderArea || offset > m_size || size > m_size - offset)
        return nullptr;
    if (size == 0)
        return m_memory + offset;
    std::lock_guard lock(m_mutex);
    const std::uint64_t first = (offset - kHeaderArea) / kBlockBytes;
    const std::uint64_t last = (offset + size - 1 - kHeaderArea) / kBlockBytes;
    for (std::uint64_t b = first; b <= last; ++b)
        if (!loadBlock(b))
            return nullptr;
    return m_memory + offset;
}
}
