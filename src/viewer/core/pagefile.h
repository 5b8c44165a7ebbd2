#pragma once

#include <QByteArray>
#include <QString>

// How reading a record page ended.
enum class PageFileState {
    Read,       // the whole file is in bytes (zero bytes counts)
    CannotOpen, // missing, a folder, an empty path or no permission
    NotAFile,   // a FIFO, a device, a socket: never read as a page
    TooLarge,   // larger than the limit: not read at all
    ReadFailed, // the file could not be read through
};

struct PageFile {
    PageFileState state = PageFileState::CannotOpen;
    QByteArray bytes;
};

// The largest page the viewer reads. A page of a whole book in one file
// runs to tens of megabytes; far beyond that the file is not a page.
inline constexpr qint64 PageSizeLimit = qint64(256) << 20;

// Reads the page file at path whole. Only a regular file is read (a link is
// followed): it is opened without blocking and checked on the open handle,
// so a FIFO or a device put in a page's place (or swapped in between a
// check and the open) never holds the reader up nor fills its memory. A
// file larger than maxBytes is refused before it is read.
PageFile readPageFile(const QString &path, qint64 maxBytes = PageSizeLimit);
