#include "editortestfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

EditorTestFolder::EditorTestFolder() : m_path(QFileInfo(m_dir.path()).canonicalFilePath()) {}

QString EditorTestFolder::filePath(const QString &name) const
{
    return m_path + QLatin1Char('/') + name;
}

bool EditorTestFolder::write(const QString &name, const QByteArray &bytes) const
{
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool EditorTestFolder::makeFolder(const QString &name) const
{
    return QDir().mkpath(filePath(name));
}

QByteArray EditorTestFolder::read(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray EditorTestFolder::big5(const QString &text)
{
    QStringEncoder encoder("windows-950");
    return encoder.encode(text);
}
