#include "programfolder.h"

#include <QFileInfo>

#include <unistd.h>

#include <mutex>

namespace {
std::mutex overrideMutex;
QString overrideFolder;

QString executableFolder()
{
    // /proc/self/exe works before (and without) a QCoreApplication exists.
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return QString();
    const QString exe = QString::fromLocal8Bit(buffer, length);
    return QFileInfo(exe).absolutePath();
}
}

QString ProgramFolder()
{
    {
        std::lock_guard lock(overrideMutex);
        if (!overrideFolder.isEmpty())
            return overrideFolder;
    }
    return executableFolder();
}

void setProgramFolderOverride(const QString &folder)
{
    std::lock_guard lock(overrideMutex);
    overrideFolder = folder;
}

QString joinTail(const QString &folder, const QString &tail)
{
    return folder + tail;
}

QString recordPagePath(const QString &folder, const QString &htm)
{
    QString relative = htm;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + QLatin1Char('/') + relative;
}
