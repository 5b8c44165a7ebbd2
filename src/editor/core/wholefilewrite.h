#pragma once

#include <QByteArray>
#include <QString>

// How a whole file was written, or why it was not.
struct WholeFileWriteOutcome {
    bool written = false;
    // After a failure: false when the file on disk is still the old one
    // whole (or, for a new file, absent); true when it may hold part of the
    // new content.
    bool touched = false;
    // The system's reason for a failure.
    QString reason;
};

// Writes a file's complete new content so that a failure leaves the old file
// whole. Where the folder lets a new file be made, the content goes into a
// new file beside it, which is flushed to disk and given the old file's mode
// and owner before it replaces the old one. An existing file is written in
// place instead (its space reserved first, so that a full disk refuses the
// write before any byte changes) when it has more than one link, when the
// folder takes no new file, or when the new file could not be given the old
// owner. A link is followed: its target is written.
namespace WholeFileWrite {
WholeFileWriteOutcome write(const QString &path, const QByteArray &bytes);
}
