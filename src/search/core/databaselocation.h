#pragma once

#include "programfolder.h"

#include <QString>

// Where a search reads and keeps its files: the catalogue jst.mdb, and the
// folder for the program's own files (the temporary page, kept index files).
struct DatabaseLocation {
    QString database;  // path of jst.mdb
    QString tmpFolder; // the program folder's tmp folder

    // The files of the program folder, joined by the program's path rules.
    static DatabaseLocation inFolder(const QString &programFolder)
    {
        return DatabaseLocation{joinTail(programFolder, QStringLiteral("/jst.mdb")),
                                joinTail(programFolder, QStringLiteral("/tmp"))};
    }
};
