#include "filetests.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

bool isOrdinaryFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    if (QFileInfo(path).fileName().startsWith(QLatin1Char('.')))
        return false;
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &info) != 0)
        return false;
    return S_ISREG(info.st_mode);
}

bool isFolder(const QString &path)
{
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    return !path.isEmpty() && ::stat(native.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}
