#pragma once

#include <QString>
#include <QTemporaryDir>

// A small tmpfs of its own for one test, so that a full disk or a folder
// that refuses new files is real even for the super-user. Mounting needs the
// super-user (as the tests run in CI); elsewhere isValid() is false and the
// test skips.
class ScratchDisk {
public:
    explicit ScratchDisk(int kilobytes);
    ~ScratchDisk();
    ScratchDisk(const ScratchDisk &) = delete;
    ScratchDisk &operator=(const ScratchDisk &) = delete;

    bool isValid() const { return m_mounted; }
    QString path() const { return m_dir.path(); }
    QString why() const { return m_why; }

    // Fills the disk with a file until no byte more fits.
    bool fill() const;
    // Sets or clears the immutable attribute of a folder: nobody, the
    // super-user included, can then add, remove or rename its entries,
    // while its files can still be written.
    static bool setImmutable(const QString &folder, bool on);

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
