#pragma once

#include <QString>

// The existence test of fixed files: true only for an ordinary file (a
// regular file, read-only included). A folder, a hidden file (a name that
// begins with ".") or any other kind of file system object fails it.
bool isOrdinaryFile(const QString &path);

// True when path names an existing folder.
bool isFolder(const QString &path);
