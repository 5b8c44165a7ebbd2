#include "vfsfile.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>

VfsFile::VfsFile(const QString &path)
{
    if (sqlite3_initialize() != SQLITE_OK || !(m_vfs = sqlite3_vfs_find(nullptr)))
        return;
    const std::size_t cells = (std::size_t(m_vfs->szOsFile) + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t);
    m_storage = std::make_unique<std::max_align_t[]>(cells);
    m_file = reinterpret_cast<sqlite3_file *>(m_storage.get());
    // The layer reads a main database's name as SQLite forms it (the name
    // followed by its journal names and parameters), and opens no symbolic
    // link: the name is the file's canonical path, as SQLite makes it too.
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return;
    const QByteArray native = QFile::encodeName(canonical);
    const QByteArray journal = native + "-journal", wal = native + "-wal";
    sqlite3_filename name = sqlite3_create_filename(native.constData(), journal.constData(), wal.constData(), 0, nullptr);
    if (!name)
        return;
    int flags = 0;
    m_open = m_vfs->xOpen(m_vfs, name, m_file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &flags) == SQLITE_OK
        && m_file->pMethods;
    // The open file keeps the name it was given: it is freed with the file.
    m_name = name;
}

VfsFile::~VfsFile()
{
    if (m_open)
        m_file->pMethods->xClose(m_file);
    if (m_name)
        sqlite3_free_filename(m_name);
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
