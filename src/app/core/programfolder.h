#pragma once

#include <QString>

// The folder of the running executable, read afresh at every call; nothing
// about it is cached. Tests of the windows, which find their files through
// it, may name another folder with setProgramFolderOverride, which then
// takes the place of the executable's folder for the whole process. Core
// code takes its folders as arguments instead.
QString ProgramFolder();

// Sets (non-empty) or clears (empty) the folder that ProgramFolder() reports.
void setProgramFolderOverride(const QString &folder);

// Path forming: the folder followed directly by the tail, by plain
// concatenation. Nothing is added, removed or normalised, so a folder that
// already ends with "/" gives a doubled separator, as the reader's platform
// reported it.
QString joinTail(const QString &folder, const QString &tail);

// A record page: folder + "/" + htm, where each "\" of the stored htm value
// (collections made on Windows use it between folders) becomes "/".
QString recordPagePath(const QString &folder, const QString &htm);
