#pragma once

#include <QListWidget>
#include <QStringList>

// The file list: the condition files of one folder. A single click selects
// a file; a double-click (or Enter) raises DblClick().
class FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget *parent = nullptr);

    // The name patterns listed, matched without regard to case: "*.txt"
    // and "*.set".
    static QStringList patterns();

    QString Path() const { return m_path; }
    // Lists the folder's files that match the patterns, by name, with no
    // file selected. A folder that cannot be read gives an empty list.
    void setPath(const QString &path);
    // The selected file's bare name; empty when none is selected.
    QString FileName() const;

Q_SIGNALS:
    void DblClick();

private:
    QString m_path;
};
