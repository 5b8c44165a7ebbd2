#include "pagefile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Reads exactly size bytes, or fewer when the file shrank meanwhile; one
// byte more tells that it grew. False on a read error.
bool readAll(int fd, qint64 size, qint64 maxBytes, QByteArray &into)
{
    into.resize(size + 1);
    qint64 got = 0;
    while (got < into.size()) {
        const ssize_t n = ::read(fd, into.data() + got, std::size_t(into.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            break;
        got += n;
    }
    into.truncate(got);
    return got <= maxBytes;
}
}

PageFile readPageFile(const QString &path, qint64 maxBytes)
{
    PageFile page;
    if (path.isEmpty())
        return page;
    const Descriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat info = {};
    if (fd.get() < 0 || ::fstat(fd.get(), &info) != 0)
        return page;
    if (S_ISDIR(info.st_mode))
        return page;
    if (!S_ISREG(info.st_mode)) {
        page.state = PageFileState::NotAFile;
        return page;
    }
    if (info.st_size > maxBytes) {
        page.state = PageFileState::TooLarge;
        return page;
    }
    // A regular file never blocks: reads may go back to blocking mode.
    ::fcntl(fd.get(), F_SETFL, ::fcntl(fd.get(), F_GETFL) & ~O_NONBLOCK);
    QByteArray bytes;
    if (!readAll(fd.get(), info.st_size, maxBytes, bytes)) {
        page.state = bytes.size() > maxBytes ? PageFileState::TooLarge : PageFileState::ReadFailed;
        return page;
    }
    page.state = PageFileState::Read;
    page.bytes = std::move(bytes);
    return page;
}
