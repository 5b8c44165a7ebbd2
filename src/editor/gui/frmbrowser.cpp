#include "frmbrowser.h"

#include "conditionfile.h"
#include "dirlistbox.h"
#include "drivelistbox.h"
#include "editorlook.h"
#include "filelistbox.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "twips.h"

#include <QCoreApplication>
#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

frmBrowser::frmBrowser(QWidget *parent) : TamvexForm(QStringLiteral("frmBrowser"), parent)
{
    setWindowTitle(designCaption());
    makeControls();
    applyLook();
    Twips::setGeometry(this, 6360, 4245, 6870, 6465);
    connect(m_drvList, &DriveListBox::Change, this, &frmBrowser::drvList_Change);
    connect(m_dirList, &DirListBox::Change, this, &frmBrowser::dirList_Change);
    connect(m_dirList, &DirListBox::failed, this, [](const Failure &failure) { MessageBox::showFailure(failure); });
    connect(m_filList, &FileListBox::DblClick, this, &frmBrowser::filList_DblClick);
    connect(m_Command1, &QPushButton::clicked, this, &frmBrowser::Command1_Click);
}

QString frmBrowser::designCaption()
{
    return productLabel() + QStringLiteral(u" 全文檢索條件 瀏覽、複製、編輯、更新、存檔");
}

// Later children lie above earlier ones: the frame at the bottom, the text
// box on top.
void frmBrowser::makeControls()
{
    m_fraFrame = new QGroupBox(QStringLiteral(u"選擇檔案"), this);
    m_fraFrame->setObjectName(QStringLiteral("fraFrame"));
    Twips::setGeometry(m_fraFrame, 120, 120, 6615, 6255);
    m_filList = new FileListBox(m_fraFrame);
    m_filList->setObjectName(QStringLiteral("filList"));
    Twips::setGeometry(m_filList, 3480, 360, 2895, 2115);
    m_Command1 = new QPushButton(QStringLiteral(u"存檔"), m_fraFrame);
    m_Command1->setObjectName(QStringLiteral("Command1"));
    Twips::setGeometry(m_Command1, 5640, 5760, 855, 375);

    m_drvList = new DriveListBox(this);
    m_drvList->setObjectName(QStringLiteral("drvList"));
    Twips::setGeometry(m_drvList, 360, 480, 3015, 345);
    m_dirList = new DirListBox(this);
    m_dirList->setObjectName(QStringLiteral("dirList"));
    Twips::setGeometry(m_dirList, 360, 960, 3015, 1620);
    m_txtBrowser = new QPlainTextEdit(this);
    m_txtBrowser->setObjectName(QStringLiteral("txtBrowser"));
    Twips::setGeometry(m_txtBrowser, 120, 2880, 6615, 2895);
    m_txtBrowser->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_txtBrowser->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtBrowser->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_txtBrowser->setTabChangesFocus(true);

    setTabOrder(m_filList, m_drvList);
    setTabOrder(m_drvList, m_dirList);
    setTabOrder(m_dirList, m_txtBrowser);
    setTabOrder(m_txtBrowser, m_Command1);
}

void frmBrowser::applyLook()
{
    QPalette windowPalette = palette();
    const QColor background = EditorLook::windowColour(windowPalette);
    windowPalette.setColor(QPalette::Window, background);
    windowPalette.setColor(QPalette::Button, background);
    setPalette(windowPalette);
    setAutoFillBackground(true);
    m_fraFrame->setFont(EditorLook::font(9.75));
    m_Command1->setFont(EditorLook::font(11.25));
    m_Command1->setAutoFillBackground(true);

    for (QWidget *control : {static_cast<QWidget *>(m_drvList), static_cast<QWidget *>(m_dirList),
                             static_cast<QWidget *>(m_filList), static_cast<QWidget *>(m_txtBrowser)}) {
        QPalette listPalette = control->palette();
        const QColor base = EditorLook::listColour(listPalette);
        listPalette.setColor(QPalette::Base, base);
        listPalette.setColor(QPalette::Button, base); // a closed combo box draws on the button colour
        control->setPalette(listPalette);
        control->setFont(EditorLook::font(11.25));
    }
    m_txtBrowser->setFont(EditorLook::font(12.75));
}

// The lists start in the process's current folder; nothing else is set.
void frmBrowser::Form_Load()
{
    m_drvList->refresh();
    // A current folder removed behind the program's back is no place to start.
    for (const QString &folder : {QDir::currentPath(), QDir::homePath(), QDir::rootPath()}) {
        if (m_dirList->showPath(folder))
            break;
    }
    m_drvList->selectDriveOf(m_dirList->Path());
    m_filList->setPath(m_dirList->Path());
    m_filList->setFocus();
}

// The folder change runs nested inside the first step; the process's
// current folder follows the drive only after that.
void frmBrowser::drvList_Change()
{
    const QString drive = m_drvList->Drive();
    if (Status moved = m_dirList->setPath(drive); !moved) {
        m_drvList->selectDriveOf(m_dirList->Path());
        MessageBox::showFailure(moved.failure());
        return;
    }
    changeCurrentFolder(drive);
}

void frmBrowser::dirList_Change()
{
    m_filList->setPath(m_dirList->Path());
    changeCurrentFolder(m_dirList->Path());
}

void frmBrowser::filList_DblClick()
{
    const QString path = selectedPath();
    const Result<QString> text = ConditionFile::load(path);
    if (!text) {
        MessageBox::showFailure(text.failure());
        return;
    }
    setWindowTitle(path);
    m_txtBrowser->setPlainText(text.value());
}

// Saves into the file selected now, which need not be the one loaded.
void frmBrowser::Command1_Click()
{
    const QString path = selectedPath();
    // The raw text keeps the line separators that stand for lone LFs.
    if (Status saved = ConditionFile::save(path, m_txtBrowser->document()->toRawText()); !saved) {
        MessageBox::showFailure(saved.failure());
        return;
    }
    setWindowTitle(path);
}

QString frmBrowser::selectedPath() const
{
    return ConditionFile::fullPath(m_filList->Path(), m_filList->FileName());
}

void frmBrowser::changeCurrentFolder(const QString &folder)
{
    if (!QDir::setCurrent(folder))
        MessageBox::showFailure(Failure{FailureNumber::PathAccess,
                                        QCoreApplication::translate("frmBrowser", "%1：無法切換到這個資料夾。").arg(folder)});
}
