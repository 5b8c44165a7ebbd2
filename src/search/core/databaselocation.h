#pragma once

#include <QString>

// Where a search reads and keeps its files: the catalogue jst.mdb, and the
// folder for the program's own files (the temporary page, kept index files).
struct DatabaseLocation {
    QString database;   // path of jst.mdb
    QString tmpFolder;  // ProgramFolder + "/tmp", or the reader's cache folder for a folder that can't be written

    // programFolder + "/jst.mdb" and workFolder(programFolder) (normally
    // programFolder + "/tmp"), joined as joinTail joins them (plain
    // concatenation, nothing normalised).
    static DatabaseLocation inFolder(const QString &programFolder);
};
