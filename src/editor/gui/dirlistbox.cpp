#include "dirlistbox.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QStyle>

namespace {
constexpr int folderRole = Qt::UserRole;
}

DirListBox::DirListBox(QWidget *parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) { open(folderOf(item)); });
}

Status DirListBox::showPath(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    const QFileInfo info(folder);
    if (path.isEmpty() || !info.isDir())
        return Failure{FailureNumber::PathAccess,
                       QCoreApplication::translate("DirListBox", "%1：找不到這個資料夾（磁碟可能未就緒或已卸載）。").arg(path)};
    if (!info.isReadable() || !info.isExecutable())
        return Failure{FailureNumber::PathAccess,
                       QCoreApplication::translate("DirListBox", "%1：無法讀取這個資料夾。").arg(path)};
    m_path = folder;
    fill();
    return Status();
}

Status DirListBox::setPath(const QString &path)
{
    Status shown = showPath(path);
    if (shown)
        Q_EMIT Change();
    return shown;
}

QString DirListBox::folderOf(const QListWidgetItem *item)
{
    return item ? item->data(folderRole).toString() : QString();
}

void DirListBox::fill()
{
    clear();
    const QStringList parts = m_path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QString folder = QStringLiteral("/");
    addEntry(folder, folder, 0, true);
    for (int depth = 0; depth < parts.size(); ++depth) {
        folder = (depth == 0 ? QString() : folder) + QLatin1Char('/') + parts[depth];
        addEntry(folder, parts[depth], depth + 1, true);
    }
    setCurrentRow(count() - 1);
    const QDir current(m_path);
    const QStringList subFolders =
        current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &name : subFolders)
        addEntry(current.filePath(name), name, parts.size() + 1, false);
}

void DirListBox::addEntry(const QString &folder, const QString &name, int depth, bool open)
{
    auto *item = new QListWidgetItem(QString(depth * 2, QLatin1Char(' ')) + name, this);
    item->setData(folderRole, folder);
    item->setIcon(style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon));
}

void DirListBox::open(const QString &folder)
{
    if (Status moved = setPath(folder); !moved)
        Q_EMIT failed(moved.failure());
}

void DirListBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Backspace && m_path != QStringLiteral("/")) {
        open(QFileInfo(m_path).path());
        return;
    }
    QListWidget::keyPressEvent(event);
}
