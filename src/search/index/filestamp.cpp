#include "filestamp.h"

#include "vfsfile.h"

#include <QFile>
#include <QFileInfo>

#include <xxhash.h>

#include <sys/stat.h>

#include <cstring>
#include <vector>

namespace {
constexpr std::size_t kHeadBytes = 64 * 1024;

std::int64_t nanoseconds(const struct timespec &t)
{
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

bool nonEmptyFile(const QString &path)
{
    struct stat st {};
    const QByteArray native = QFile::encodeName(path);
    return ::stat(native.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
}
}

FileStamp FileStamp::of(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return {};
    // The inode is stamped before the head is read: a file replaced in
    // between gets the new head under the old inode, a stamp no index has.
    struct stat st {};
    if (::stat(QFile::encodeName(canonical).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    const VfsFile file(canonical);
    std::vector<char> head(kHeadBytes);
    const std::int64_t got = file.isOpen() ? file.readHead(head.data(), std::int64_t(head.size())) : -1;
    if (got < 0)
        return {};
    FileStamp stamp;
    stamp.path = canonical;
    stamp.device = std::uint64_t(st.st_dev);
    stamp.inode = std::uint64_t(st.st_ino);
    stamp.size = std::uint64_t(st.st_size);
    stamp.modifiedNs = nanoseconds(st.st_mtim);
    stamp.changedNs = nanoseconds(st.st_ctim);
    stamp.headHash = XXH3_64bits(head.data(), std::size_t(got));
    stamp.sqlite = got >= 16 && std::memcmp(head.data(), "SQLite format 3", 16) == 0;
    return stamp;
}

bool hasPendingWrites(const QString &databasePath)
{
    return nonEmptyFile(databasePath + QStringLiteral("-wal")) || nonEmptyFile(databasePath + QStringLiteral("-journal"));
}
