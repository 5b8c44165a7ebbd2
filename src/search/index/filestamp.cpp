#include "filestamp.h"

#include <QFile>
#include <QFileInfo>

#include <xxhash.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

namespace {
constexpr std::size_t kHeadBytes = 64 * 1024;

std::int64_t nanoseconds(const struct timespec &t)
{
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct Fd {
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

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
    Fd file;
    file.fd = ::open(QFile::encodeName(canonical).constData(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (file.fd < 0 || ::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    std::vector<char> head(kHeadBytes);
    std::size_t got = 0;
    while (got < head.size()) {
        const ssize_t n = ::pread(file.fd, head.data() + got, head.size() - got, off_t(got));
        if (n < 0)
            return {};
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    FileStamp stamp;
    stamp.path = canonical;
    stamp.device = std::uint64_t(st.st_dev);
    stamp.inode = std::uint64_t(st.st_ino);
    stamp.size = std::uint64_t(st.st_size);
    stamp.modifiedNs = nanoseconds(st.st_mtim);
    stamp.changedNs = nanoseconds(st.st_ctim);
    stamp.headHash = XXH3_64bits(head.data(), got);
    stamp.sqlite = got >= 16 && std::memcmp(head.data(), "SQLite format 3", 16) == 0;
    return stamp;
}

bool hasPendingWrites(const QString &databasePath)
{
    return nonEmptyFile(databasePath + QStringLiteral("-wal")) || nonEmptyFile(databasePath + QStringLiteral("-journal"));
}
