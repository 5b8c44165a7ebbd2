#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A temporary folder of condition files for one test, removed afterwards.
class EditorTestFolder {
public:
    EditorTestFolder();

    bool isValid() const { return m_dir.isValid(); }
    // The folder's path with links resolved, as the folder list shows it.
    QString path() const { return m_path; }
    QString filePath(const QString &name) const;

    // Writes the bytes into the file, making its folder if needed.
    bool write(const QString &name, const QByteArray &bytes) const;
    bool makeFolder(const QString &name) const;

    // The bytes of any file; empty when it cannot be read.
    static QByteArray read(const QString &path);
    // The text in code page 950.
    static QByteArray big5(const QString &text);

private:
    QTemporaryDir m_dir;
    QString m_path;
};
