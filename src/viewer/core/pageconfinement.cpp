#include "pageconfinement.h"

#include <QDir>
#include <QFileInfo>

PageConfinement::PageConfinement(const QStringList &roots)
{
    for (const QString &root : roots)
        addRoot(root);
}

void PageConfinement::addRoot(const QString &folder)
{
    QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() && !folder.isEmpty())
        canonical = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    if (canonical.isEmpty())
        return;
    m_roots.append(canonical == QLatin1String("/") ? canonical : canonical + QLatin1Char('/'));
}

bool PageConfinement::insideRoots(const QString &localFile) const
{
    const QFileInfo info(localFile);
    // Only an existing regular file: no folder listing, no device.
    if (!info.isFile())
        return false;
    const QString canonical = info.canonicalFilePath();
    for (const QString &root : m_roots)
        if (canonical.startsWith(root))
            return true;
    return false;
}

bool PageConfinement::allows(const QUrl &url, bool topFrame) const
{
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("data") || scheme == QLatin1String("blob") || scheme == QLatin1String("about"))
        return true;
    if (scheme != QLatin1String("file") || !url.host().isEmpty())
        return false;
    if (topFrame && url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery) == m_shownPage)
        return true;
    return insideRoots(url.toLocalFile());
}
