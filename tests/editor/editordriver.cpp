#include "editordriver.h"

#include "dirlistbox.h"
#include "editorforms.h"
#include "filelistbox.h"
#include "forms.h"
#include "frmbrowser.h"
#include "messagebox.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QTest>

#include <algorithm>

namespace {
QListWidgetItem *fileItem(frmBrowser *editor, const QString &name)
{
    const QList<QListWidgetItem *> found = editor->filList()->findItems(name, Qt::MatchExactly);
    return found.isEmpty() ? nullptr : found.first();
}

QPoint centreOf(QListWidget *list, QListWidgetItem *item)
{
    list->scrollToItem(item);
    return list->visualItemRect(item).center();
}
}

namespace EditorDriver {

void start()
{
    registerEditorForms();
    MessageBox::setObserver([](const QString &prompt, const QString &) { messages() << prompt; });
}

QStringList &messages()
{
    static QStringList shown;
    return shown;
}

bool lastMessageHas(const QStringList &parts)
{
    if (messages().size() != 1)
        return false;
    return std::all_of(parts.begin(), parts.end(),
                       [](const QString &part) { return messages().first().contains(part); });
}

frmBrowser *openEditor()
{
    auto *editor = Forms::instance<frmBrowser>(QStringLiteral("frmBrowser"));
    editor->Show();
    return editor;
}

bool clickFile(frmBrowser *editor, const QString &name)
{
    QListWidgetItem *item = fileItem(editor, name);
    if (!item)
        return false;
    FileListBox *list = editor->filList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, item));
    return list->FileName() == name;
}

bool doubleClickFile(frmBrowser *editor, const QString &name)
{
    if (!clickFile(editor, name))
        return false;
    FileListBox *list = editor->filList();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centreOf(list, fileItem(editor, name)));
    return true;
}

bool openFolder(frmBrowser *editor, const QString &folder)
{
    DirListBox *list = editor->dirList();
    for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem *item = list->item(row);
        if (DirListBox::folderOf(item) != folder)
            continue;
        const QPoint at = centreOf(list, item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        return list->Path() == folder;
    }
    return false;
}

void clickSave(frmBrowser *editor)
{
    QTest::mouseClick(editor->Command1(), Qt::LeftButton);
}

QString currentFolder()
{
    return QFileInfo(QDir::currentPath()).canonicalFilePath();
}
}
