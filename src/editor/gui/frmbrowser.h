#pragma once

#include "tamvexform.h"

class DirListBox;
class DriveListBox;
class FileListBox;
class QGroupBox;
class QPlainTextEdit;
class QPushButton;

// The condition file editor: drive, folder and file lists to pick a file, a
// text box that shows and edits it, and a button that saves the text box
// into the file selected now (which copies conditions from one file into
// another). Failures are told to the reader; the text stays in the box and
// the file on disk stays whole.
class frmBrowser : public TamvexForm {
    Q_OBJECT
public:
    explicit frmBrowser(QWidget *parent = nullptr);

    // productLabel() + " 全文檢索條件 瀏覽、複製、編輯、更新、存檔".
    static QString designCaption();

    DriveListBox *drvList() const { return m_drvList; }
    DirListBox *dirList() const { return m_dirList; }
    QGroupBox *fraFrame() const { return m_fraFrame; }
    FileListBox *filList() const { return m_filList; }
    QPlainTextEdit *txtBrowser() const { return m_txtBrowser; }
    QPushButton *Command1() const { return m_Command1; }

public Q_SLOTS:
    void drvList_Change();
    void dirList_Change();
    void filList_DblClick();
    void Command1_Click();

protected:
    void Form_Load() override;

private:
    void makeControls();
    void applyLook();
    QString selectedPath() const;
    void changeCurrentFolder(const QString &folder);

    QGroupBox *m_fraFrame = nullptr;
    DriveListBox *m_drvList = nullptr;
    DirListBox *m_dirList = nullptr;
    QPlainTextEdit *m_txtBrowser = nullptr;
    FileListBox *m_filList = nullptr;
    QPushButton *m_Command1 = nullptr;
};
