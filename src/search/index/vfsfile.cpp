#include "vfsfile.h"

#include <QFile>

#include <sqlite3.h>

#include <algorithm>

VfsFile::VfsFile(const QString &path)
{
    if (sqlite3_initialize() != SQLITE_OK || !(m_vfs = sqlite3_vfs_find(nullptr)))
        return;
    const std::size_t cells = (std::size_t(m_vfs->szOsFile) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    m_storage = std::make_unique<std::max_align_t[]>(cells);
    m_file = reinterpret_cast<sqlite3_file *>(m_storage.get());
    const QByteArray native = QFile::encodeName(path);
    int flags = 0;
    m_open = m_vfs->xOpen(m_vfs, native.constData(), m_file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &flags)
            == SQLITE_OK
        && m_file->pMethods;
}

VfsFile::~VfsFile()
{
    if (m_open)
        m_file->pMethods->xClose(m_file);
}

std::int64_t VfsFile::size() const
{
    sqlite3_int64 bytes = -1;
    if (!m_open || m_file->pMethods->xFileSize(m_file, &bytes) != SQLITE_OK)
        return -1;
    return bytes;
}

std::int64_t VfsFile::readHead(char *into, std::int64_t bytes) const
{
    const std::int64_t total = size();
    if (total < 0)
        return -1;
    const std::int64_t wanted = std::min(bytes, total);
    if (wanted > 0 && m_file->pMethods->xRead(m_file, into, int(wanted), 0) != SQLITE_OK)
        return -1;
    return wanted;
}
