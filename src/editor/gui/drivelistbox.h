#pragma once

#include <QComboBox>
#include <QStringList>

// The drive list: the mounted file systems a reader keeps files on, the
// root "/" first. A drive is named by its mount point, which is also the
// text Drive() gives. Change() is raised when the reader picks a drive.
class DriveListBox : public QComboBox {
    Q_OBJECT
public:
    explicit DriveListBox(QWidget *parent = nullptr);

    // The mount points of the mounted real file systems: "/" first, then the
    // others by path; memory-backed and kernel file systems are left out.
    static QStringList mountedDrives();

    // Refills the list with mountedDrives(), keeping the selected drive.
    void refresh();
    // Fills the list with these mount points, keeping the selected drive
    // where it is still listed. Raises no Change().
    void setDrives(const QStringList &rootPaths);

    // The selected drive's mount point; empty when the list is empty.
    QString Drive() const;
    // Selects the drive that holds the path (the longest mount point it lies
    // under) without raising Change().
    void selectDriveOf(const QString &path);

Q_SIGNALS:
    void Change();

protected:
    void showPopup() override;
};
