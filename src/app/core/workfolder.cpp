#include "workfolder.h"

#include "programfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace {

// A file can be made in folder (as root the permission bits say nothing:
// a read-only file system does).
bool canWriteInto(const QString &folder)
{
    QTemporaryFile probe(folder + QStringLiteral("/.tamvex-probe-XXXXXX"));
    return probe.open();
}

// folder can be written, or made (it is not made here: whoever writes
// first makes it, as the page writer always has).
bool usable(const QString &folder, const QString &parent)
{
    const QFileInfo info(folder);
    if (info.isDir())
        return canWriteInto(folder);
    return !info.exists() && !info.isSymLink() && canWriteInto(parent);
}
}

QString cacheWorkFolder(const QString &programFolder)
{
    QString canonical = QFileInfo(programFolder).canonicalFilePath();
    if (canonical.isEmpty())
        canonical = QFileInfo(programFolder).absoluteFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    QString name = QFileInfo(canonical).fileName();
    if (name.isEmpty())
        name = QStringLiteral("root");
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + QStringLiteral("/tamvex/") + name
           + QLatin1Char('-') + QString::fromLatin1(hash);
}

QString workFolder(const QString &programFolder)
{
    const QString own = joinTail(programFolder, QStringLiteral("/tmp"));
    if (usable(own, programFolder))
        return own;
    const QString cache = cacheWorkFolder(programFolder);
    if (QDir().mkpath(cache) && canWriteInto(cache))
        return cache;
    return QString();
}
