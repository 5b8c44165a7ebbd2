#pragma once

#include <QString>

#include <cstdint>

// What an index is bound to: the database file as it is now. Besides the
// path it holds the device and inode, the size, the modification time and
// the inode change time (which no copy or unpack tool can set back), and a
// hash of the file's first 64 KB (for SQLite files the header with its file
// change counter, for Jet files the first pages). A file that was rewritten
// in place with the same size and an old modification time still gets
// another stamp through its change time and its head.
struct FileStamp {
    QString path; // canonical; empty when the file does not exist
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uint64_t headHash = 0;
    bool sqlite = false; // the head is that of an SQLite 3 file

    bool operator==(const FileStamp &) const = default;
    bool valid() const { return !path.isEmpty(); }

    // The stamp of the file at path as it is now (invalid when it cannot
    // be read). The file is read through SQLite's own file layer, so that
    // stamping it never disturbs the locks of this process's connections.
    static FileStamp of(const QString &path);
};

// True when SQLite may see rows that are not in the main file yet: a
// non-empty write-ahead log ("-wal") or rollback journal ("-journal") lies
// beside it. An index is never used for such a file.
bool hasPendingWrites(const QString &databasePath);
