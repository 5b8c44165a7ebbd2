#pragma once

#include <QString>

#include <cstdint>
#include <memory>

struct sqlite3_file;
struct sqlite3_vfs;

// A database file opened for reading through SQLite's own file layer.
// Opening and closing a file with plain calls would drop the POSIX locks
// that SQLite connections of this process hold on it (closing any
// descriptor of a file ends all of the process's locks on it), letting a
// writer change the file under a reader; SQLite's layer keeps a close of
// that kind waiting until its locks are gone.
class VfsFile {
public:
    explicit VfsFile(const QString &path);
    ~VfsFile();
    VfsFile(const VfsFile &) = delete;
    VfsFile &operator=(const VfsFile &) = delete;

    bool isOpen() const { return m_open; }
    // The file's size, or -1 when it cannot be told.
    std::int64_t size() const;
    // Reads up to bytes from the start of the file into into; returns how
    // many were read (fewer at the end of the file), or -1 on an error.
    std::int64_t readHead(char *into, std::int64_t bytes) const;

private:
    sqlite3_vfs *m_vfs = nullptr;
    std::unique_ptr<std::max_align_t[]> m_storage;
    sqlite3_file *m_file = nullptr;
    const char *m_name = nullptr;
    bool m_open = false;
};
