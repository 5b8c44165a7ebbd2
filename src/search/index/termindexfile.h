#pragma once

#include "failure.h"
#include "postingtable.h"

#include <QString>

// What an index file is bound to: the database file's canonical path, its
// size and its modification time. A changed database has another stamp.
struct DatabaseStamp {
    QString path;
    qint64 size = -1;
    qint64 modifiedMs = -1;

    // The stamp of the file as it is now; path empty when it does not exist.
    static DatabaseStamp of(const QString &file);
    bool operator==(const DatabaseStamp &) const = default;
};

namespace TermIndexFile {

// The file name an index of the database is kept under inside a folder.
QString fileNameFor(const DatabaseStamp &stamp);

// Writes the table to path (through a temporary file, replaced at the end,
// so a reader never sees half a file). Failure: the folder or the file
// cannot be written; nothing is left behind then.
Status save(const QString &path, const DatabaseStamp &stamp, const PostingTable &table);

// Maps an index file written by save. Failure: missing, damaged, of another
// format, or bound to another stamp.
Result<PostingTable> load(const QString &path, const DatabaseStamp &stamp);
}
