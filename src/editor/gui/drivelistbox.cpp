#include "drivelistbox.h"

#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>

#include <algorithm>

namespace {

bool isRealFileSystem(const QStorageInfo &volume)
{
    static const QStringList memoryTypes = {
        QStringLiteral("tmpfs"), QStringLiteral("devtmpfs"), QStringLiteral("ramfs"), QStringLiteral("squashfs"),
        QStringLiteral("overlay"), QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devpts")};
    static const QStringList kernelFolders = {QStringLiteral("/proc"), QStringLiteral("/sys"), QStringLiteral("/dev"),
                                              QStringLiteral("/run")};
    const QString root = volume.rootPath();
    if (!volume.isValid() || !QFileInfo(root).isDir())
        return false; // bind-mounted single files are no drives
    if (memoryTypes.contains(QString::fromLatin1(volume.fileSystemType())))
        return false;
    return std::none_of(kernelFolders.begin(), kernelFolders.end(), [&](const QString &folder) {
        return root == folder || root.startsWith(folder + QLatin1Char('/'));
    });
}

bool liesUnder(const QString &path, const QString &root)
{
    if (root == QStringLiteral("/"))
        return path.startsWith(root);
    return path == root || path.startsWith(root + QLatin1Char('/'));
}
}

DriveListBox::DriveListBox(QWidget *parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] { Q_EMIT Change(); });
}

QStringList DriveListBox::mountedDrives()
{
    QStringList drives;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isRoot() && isRealFileSystem(volume) && !drives.contains(volume.rootPath()))
            drives << volume.rootPath();
    }
    std::sort(drives.begin(), drives.end());
    drives.prepend(QStringLiteral("/")); // the root is always there, whatever it is made of
    return drives;
}

void DriveListBox::refresh()
{
    setDrives(mountedDrives());
}

void DriveListBox::setDrives(const QStringList &rootPaths)
{
    const QSignalBlocker blocker(this);
    const QString selected = Drive();
    clear();
    addItems(rootPaths);
    setCurrentIndex(std::max(0, static_cast<int>(rootPaths.indexOf(selected))));
}

QString DriveListBox::Drive() const
{
    return currentText();
}

void DriveListBox::selectDriveOf(const QString &path)
{
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        if (liesUnder(path, itemText(i)) && (best < 0 || itemText(i).size() > itemText(best).size()))
            best = i;
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(best);
}

void DriveListBox::showPopup()
{
    refresh(); // drives come and go while the window is open
    QComboBox::showPopup();
}
