#include "filelistbox.h"

#include <QDir>

FileListBox::FileListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this] { Q_EMIT DblClick(); });
}

QStringList FileListBox::patterns()
{
    return {QStringLiteral("*.txt"), QStringLiteral("*.set")};
}

void FileListBox::setPath(const QString &path)
{
    m_path = path;
    clear();
    const QDir folder(path);
    addItems(folder.entryList(patterns(), QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware));
    clearSelection();
}

QString FileListBox::FileName() const
{
    const QList<QListWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}
