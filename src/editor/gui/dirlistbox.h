#pragma once

#include "failure.h"

#include <QListWidget>

// The folder list: the folders from the root down to the current folder,
// then the current folder's sub-folders, each indented by its depth. A
// double-click (or Enter) on an entry opens that folder; Backspace opens the
// parent. Every move raises Change() before it returns.
class DirListBox : public QListWidget {
    Q_OBJECT
public:
    explicit DirListBox(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    // Moves the list to the folder and raises Change(). A folder that is
    // missing or cannot be read leaves the list where it was and fails.
    Status setPath(const QString &path);
    // The same without raising Change(): the list shows the folder as it is.
    Status showPath(const QString &path);

    // The folder an entry stands for.
    static QString folderOf(const QListWidgetItem *item);

Q_SIGNALS:
    void Change();
    // A folder the reader chose could not be opened.
    void failed(const Failure &failure);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fill();
    void addEntry(const QString &folder, const QString &name, int depth, bool open);
    void open(const QString &folder);

    QString m_path;
};
