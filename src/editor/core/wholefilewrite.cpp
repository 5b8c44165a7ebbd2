#include "wholefilewrite.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

WholeFileWriteOutcome failed(int error, bool touched)
{
    return WholeFileWriteOutcome{false, touched, systemReason(error)};
}

// Writes all bytes at the offset; returns 0 or the errno of the failure.
int writeAllAt(int fd, const QByteArray &bytes, off_t offset)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(left), offset);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        left -= n;
        offset += n;
    }
    return 0;
}

// Closing can report the failure of a delayed write, so it is checked too.
int syncAndClose(int fd)
{
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    const int closed = ::close(fd) == 0 ? 0 : errno;
    return synced != 0 ? synced : closed;
}

void syncFolder(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

WholeFileWriteOutcome writeInPlace(const QByteArray &target, const struct stat &old, const QByteArray &bytes)
{
    const int fd = ::open(target.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return failed(errno, false);
    if (bytes.size() > old.st_size) {
        if (const int error = ::posix_fallocate(fd, 0, off_t(bytes.size())); error != 0) {
            ::ftruncate(fd, old.st_size); // an emulated reservation may have added zeros
            ::close(fd);
            return failed(error, false);
        }
    }
    if (const int error = writeAllAt(fd, bytes, 0); error != 0) {
        ::close(fd);
        return failed(error, true);
    }
    if (bytes.size() < old.st_size && ::ftruncate(fd, off_t(bytes.size())) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error, true);
    }
    if (const int error = syncAndClose(fd); error != 0)
        return failed(error, true);
    return WholeFileWriteOutcome{true, true, QString()};
}

enum class ReplaceStep { Done, Failed, UseInPlace };

struct ReplaceOutcome {
    ReplaceStep step;
    int error = 0;
};

// The new content in a new file beside the target, then renamed over it.
ReplaceOutcome replace(const QByteArray &target, const struct stat *old, const QByteArray &bytes)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(target)).absolutePath());
    const QByteArray stem = folder + "/." + QFile::encodeName(QFileInfo(QFile::decodeName(target)).fileName());
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = stem + '.' + QByteArray::number(::getpid()) + '.' + QByteArray::number(attempt) + ".tmp";
        // A new file gets the mode the umask gives any new file.
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
        return {old ? ReplaceStep::UseInPlace : ReplaceStep::Failed, errno};
    const auto drop = [&](ReplaceStep step, int error) {
        ::unlink(temp.constData());
        return ReplaceOutcome{step, error};
    };
    if (old) {
        struct stat made {};
        const bool sameOwner = ::fstat(fd, &made) == 0 && made.st_uid == old->st_uid && made.st_gid == old->st_gid;
        if (!sameOwner && ::fchown(fd, old->st_uid, old->st_gid) != 0) {
            ::close(fd);
            return drop(ReplaceStep::UseInPlace, 0);
        }
    }
    // The mode after the owner: changing the owner can clear set-id bits.
    if (old && ::fchmod(fd, old->st_mode & 07777) != 0) {
        const int error = errno;
        ::close(fd);
        return drop(ReplaceStep::Failed, error);
    }
    if (const int error = writeAllAt(fd, bytes, 0); error != 0) {
        ::close(fd);
        return drop(ReplaceStep::Failed, error);
    }
    if (const int error = syncAndClose(fd); error != 0)
        return drop(ReplaceStep::Failed, error);
    if (::rename(temp.constData(), target.constData()) != 0)
        return drop(old ? ReplaceStep::UseInPlace : ReplaceStep::Failed, errno);
    syncFolder(folder);
    return {ReplaceStep::Done, 0};
}
}

namespace WholeFileWrite {

WholeFileWriteOutcome write(const QString &path, const QByteArray &bytes)
{
    struct stat old {};
    const bool exists = ::stat(QFile::encodeName(path).constData(), &old) == 0;
    const QByteArray target = QFile::encodeName(exists ? QFileInfo(path).canonicalFilePath() : path);
    if (exists && old.st_nlink > 1)
        return writeInPlace(target, old, bytes);
    const ReplaceOutcome replaced = replace(target, exists ? &old : nullptr, bytes);
    if (replaced.step == ReplaceStep::Done)
        return WholeFileWriteOutcome{true, true, QString()};
    if (replaced.step == ReplaceStep::Failed)
        return failed(replaced.error, false);
    return writeInPlace(target, old, bytes);
}
}
