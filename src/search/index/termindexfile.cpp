#include "termindexfile.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstring>
#include <memory>

namespace {

constexpr char kMagic[8] = {'T', 'V', 'X', 'I', 'D', 'X', '0', '1'};

// Fixed head of the file; the stamp's path (UTF-8) follows, padded to 8.
struct Header {
    char magic[8];
    std::uint64_t size;
    std::int64_t modifiedMs;
    std::uint64_t pathBytes;
    std::uint64_t keyCount;
    std::uint64_t blobBytes;
};

std::uint64_t padded(std::uint64_t n) { return (n + 7) / 8 * 8; }

Failure fileFailure(const QString &path, const QString &why)
{
    return Failure{FailureNumber::DatabaseOpen, QStringLiteral("Index file '%1': %2").arg(path, why)};
}

bool writeAll(QSaveFile &out, const void *data, std::uint64_t bytes)
{
    return out.write(static_cast<const char *>(data), qint64(bytes)) == qint64(bytes);
}

// Keys ascending, offsets never going back and ending at the blob's end,
// and the blob ending with the last byte of a varint: then no read can leave
// the mapped file.
bool wellFormed(const TextKeys::Key *keys, const std::uint64_t *offsets, std::uint64_t count, const uchar *blob,
                std::uint64_t blobBytes)
{
    if (offsets[0] != 0 || offsets[count] != blobBytes || (blobBytes && (blob[blobBytes - 1] & 0x80)))
        return false;
    for (std::uint64_t i = 0; i < count; ++i)
        if (offsets[i] > offsets[i + 1] || (i && keys[i - 1] >= keys[i]))
            return false;
    return true;
}

struct MappedFile {
    std::unique_ptr<QFile> file;
    uchar *data = nullptr;
    ~MappedFile()
    {
        if (data)
            file->unmap(data);
    }
};
}

DatabaseStamp DatabaseStamp::of(const QString &file)
{
    const QFileInfo info(file);
    if (!info.exists())
        return {};
    return DatabaseStamp{info.canonicalFilePath(), info.size(), info.lastModified().toMSecsSinceEpoch()};
}

namespace TermIndexFile {

QString fileNameFor(const DatabaseStamp &stamp)
{
    const QByteArray hash = QCryptographicHash::hash(stamp.path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    return QStringLiteral("tamvex-index-%1.idx").arg(QString::fromLatin1(hash));
}

Status save(const QString &path, const DatabaseStamp &stamp, const PostingTable &table)
{
    const QByteArray name = stamp.path.toUtf8();
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.size = std::uint64_t(stamp.size);
    header.modifiedMs = stamp.modifiedMs;
    header.pathBytes = std::uint64_t(name.size());
    header.keyCount = table.keyCount();
    header.blobBytes = table.blobSize();
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return fileFailure(path, out.errorString());
    const QByteArray pad(int(padded(header.pathBytes) - header.pathBytes), '\0');
    const std::uint64_t n = table.keyCount();
    const bool ok = writeAll(out, &header, sizeof header) && writeAll(out, name.constData(), header.pathBytes)
        && writeAll(out, pad.constData(), std::uint64_t(pad.size())) && writeAll(out, table.keys(), n * 8)
        && writeAll(out, table.offsets(), (n + 1) * 8) && writeAll(out, table.blob(), header.blobBytes);
    if (!ok || !out.commit())
        return fileFailure(path, out.errorString());
    return {};
}

Result<PostingTable> load(const QString &path, const DatabaseStamp &stamp)
{
    auto mapped = std::make_shared<MappedFile>();
    mapped->file = std::make_unique<QFile>(path);
    if (!mapped->file->open(QIODevice::ReadOnly))
        return fileFailure(path, mapped->file->errorString());
    const qint64 fileSize = mapped->file->size();
    Header header{};
    if (fileSize < qint64(sizeof header) || !(mapped->data = mapped->file->map(0, fileSize)))
        return fileFailure(path, QStringLiteral("too short or cannot be mapped"));
    std::memcpy(&header, mapped->data, sizeof header);
    const QByteArray name = stamp.path.toUtf8();
    if (std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 || header.size != std::uint64_t(stamp.size)
        || header.modifiedMs != stamp.modifiedMs || header.pathBytes != std::uint64_t(name.size()))
        return fileFailure(path, QStringLiteral("of another format or another database"));
    const std::uint64_t keysAt = sizeof header + padded(header.pathBytes);
    const std::uint64_t blobAt = keysAt + header.keyCount * 8 + (header.keyCount + 1) * 8;
    if (std::uint64_t(fileSize) != blobAt + header.blobBytes
        || std::memcmp(mapped->data + sizeof header, name.constData(), std::size_t(name.size())) != 0)
        return fileFailure(path, QStringLiteral("damaged or bound to another database"));
    const auto *keys = reinterpret_cast<const TextKeys::Key *>(mapped->data + keysAt);
    const auto *offsets = reinterpret_cast<const std::uint64_t *>(mapped->data + keysAt + header.keyCount * 8);
    if (!wellFormed(keys, offsets, header.keyCount, mapped->data + blobAt, header.blobBytes))
        return fileFailure(path, QStringLiteral("damaged"));
    return PostingTable(keys, offsets, std::size_t(header.keyCount), mapped->data + blobAt, mapped);
}
}
