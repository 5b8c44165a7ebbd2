#pragma once

#include <QString>
#include <QStringList>

// What the desktop program's command line asks for.
struct DesktopArguments {
    QString programFolder; // the collection's folder; empty: the program's own
    QString error;         // what is wrong with the command line; empty when nothing
};

// Reads the arguments after the program's name: none; "--program-folder
// DIR"; or one path, as a file manager passes it ("Open with"), naming the
// collection's folder or a file in it (its jst.mdb). The folder must exist.
DesktopArguments parseDesktopArguments(const QStringList &args);
