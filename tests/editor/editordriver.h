#pragma once

#include <QString>
#include <QStringList>

class frmBrowser;

// Drives the editor window as a reader does: clicks on the lists' entries
// and on the save button. Messages go to messages() instead of a dialog.
namespace EditorDriver {

// Registers the window and observes the message box.
void start();
QStringList &messages();
// True when exactly one message was shown and it holds every part.
bool lastMessageHas(const QStringList &parts);

frmBrowser *openEditor();
// A single click on the file's entry; true when the file is then selected.
bool clickFile(frmBrowser *editor, const QString &name);
// A click and a double-click on the file's entry.
bool doubleClickFile(frmBrowser *editor, const QString &name);
// A double-click on the folder's entry; true when the list is then there.
bool openFolder(frmBrowser *editor, const QString &folder);
void clickSave(frmBrowser *editor);

// The process's current folder with links resolved.
QString currentFolder();
}
