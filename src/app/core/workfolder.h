#pragma once

#include <QString>

// Where the temporary page and the term index of the collection in
// programFolder are kept: programFolder + "/tmp" when it is a folder this
// process can write into, or could be made (it is not made here).
// Otherwise (a collection installed where the reader may not write, such as
// /opt/tamvex) a folder of the reader's cache for this collection, made if
// needed (see cacheWorkFolder).
// Empty when neither can be used.
QString workFolder(const QString &programFolder);

// The reader's cache folder for the collection in programFolder: one
// sub-folder per collection (its canonical path's last name and a hash of
// the whole path) under the generic cache location's "tamvex" folder, shared
// by the desktop program and tamvex-cli. Not made here.
QString cacheWorkFolder(const QString &programFolder);
