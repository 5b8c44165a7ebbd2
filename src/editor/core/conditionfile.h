#pragma once

#include "failure.h"

#include <QString>

// Reading and writing whole condition files. The file on disk is either the
// old one whole or the new one whole (WholeFileWrite), and a failure says
// which.
namespace ConditionFile {

// The full path of a file in a folder: the folder path, then "/" only when
// the folder path does not already end with one, then the bare name. The
// root folder gives "/name"; an empty name gives the folder path ending
// with "/".
QString fullPath(const QString &folder, const QString &name);

// Takes a full path; returns the file's text for the text box
// (ConditionText::fromFileBytes). Fails with FailureNumber::FileIo when the
// file is missing, is not a file or cannot be read, with
// FailureNumber::BadCharacter when its bytes are not code page 950 text;
// every description names the path.
Result<QString> load(const QString &path);

// Takes a full path and the text box's text; writes the text as code page
// 950 with CR LF line ends. An existing file keeps its links, owner and mode.
// Fails, leaving the file as it was, when the path names no file (it ends
// with "/"), the file is read-only (no write permission bit at all, even for
// the super-user), a new file cannot be made in its folder, the disk is full,
// or a character cannot be stored (FailureNumber::BadCharacter). Every
// description names the path and says whether the file was left unchanged.
Status save(const QString &path, const QString &text);
}
