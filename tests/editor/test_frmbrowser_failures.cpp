#include "dirlistbox.h"
#include "drivelistbox.h"
#include "editordriver.h"
#include "editortestfolder.h"
#include "filelistbox.h"
#include "forms.h"
#include "frmbrowser.h"

#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

using namespace EditorDriver;

class TestFrmBrowserFailures : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void openingInARemovedFolder();
    void driveNotReadyLeavesTheLists();
    void saveWithoutSelectedFile();
    void saveIntoReadOnlyFile();
    void saveIntoFolderThatIsNowAFile();
    void saveCharacterOutsideBig5();
    void loadFileThatHasGone();
    void loadBytesThatAreNotBig5();

private:
    std::unique_ptr<EditorTestFolder> m_folder;
    QString m_startFolder;
};

void TestFrmBrowserFailures::initTestCase()
{
    start();
    m_startFolder = QDir::currentPath();
}

void TestFrmBrowserFailures::init()
{
    Forms::reset();
    messages().clear();
    m_folder = std::make_unique<EditorTestFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir::setCurrent(m_folder->path()));
}

void TestFrmBrowserFailures::cleanup()
{
    Forms::reset();
    QDir::setCurrent(m_startFolder);
    m_folder.reset();
}

void TestFrmBrowserFailures::driveNotReadyLeavesTheLists()
{
    const QString gone = m_folder->filePath(u"gone"_s);
    frmBrowser *editor = openEditor();
    editor->drvList()->setDrives({u"/"_s, gone});
    QTest::keyClick(editor->drvList(), Qt::Key_Down);
    QVERIFY(lastMessageHas({gone}));
    QCOMPARE(editor->drvList()->Drive(), u"/"_s);
    QCOMPARE(editor->dirList()->Path(), m_folder->path());
    QCOMPARE(editor->filList()->Path(), m_folder->path());
    QCOMPARE(currentFolder(), m_folder->path());
}

void TestFrmBrowserFailures::saveWithoutSelectedFile()
{
    QVERIFY(m_folder->write(u"a.txt"_s, "a\r\n"_ba));
    QVERIFY(m_folder->makeFolder(u"empty"_s));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    const QString empty = m_folder->filePath(u"empty"_s);
    QVERIFY(openFolder(editor, empty));
    clickSave(editor);
    QVERIFY2(lastMessageHas({empty + u'/', u"沒有選擇檔案"_s}), qPrintable(messages().join(u'\n')));
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"a\n"_s);
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"a.txt"_s));
    QVERIFY(QDir(empty).isEmpty());
}

// Root writes into files whatever their mode; a file without any write
// permission bit is still refused, as the reader made it read-only.
void TestFrmBrowserFailures::saveIntoReadOnlyFile()
{
    QVERIFY(m_folder->write(u"a.txt"_s, "new\r\n"_ba));
    QVERIFY(m_folder->write(u"locked.txt"_s, "old\r\n"_ba));
    const QString locked = m_folder->filePath(u"locked.txt"_s);
    QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    QVERIFY(clickFile(editor, u"locked.txt"_s));
    clickSave(editor);
    QVERIFY2(lastMessageHas({locked, u"唯讀"_s}), qPrintable(messages().join(u'\n')));
    QCOMPARE(EditorTestFolder::read(locked), "old\r\n"_ba);
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"new\n"_s);
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"a.txt"_s));
}

// The folder of the selected file is replaced by a regular file of the same
// name: no file can be made under it, not even by root.
void TestFrmBrowserFailures::saveIntoFolderThatIsNowAFile()
{
    QVERIFY(m_folder->write(u"sub/b.txt"_s, "old\r\n"_ba));
    const QString sub = m_folder->filePath(u"sub"_s);
    frmBrowser *editor = openEditor();
    QVERIFY(openFolder(editor, sub));
    QVERIFY(clickFile(editor, u"b.txt"_s));
    editor->txtBrowser()->setPlainText(u"keep me\n"_s);
    QVERIFY(QDir(sub).removeRecursively());
    QVERIFY(m_folder->write(u"sub"_s, "a plain file"_ba));
    clickSave(editor);
    QVERIFY2(lastMessageHas({sub + u"/b.txt"_s}), qPrintable(messages().join(u'\n')));
    QCOMPARE(EditorTestFolder::read(sub), "a plain file"_ba);
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"keep me\n"_s);
    QCOMPARE(editor->windowTitle(), frmBrowser::designCaption());
}

void TestFrmBrowserFailures::saveCharacterOutsideBig5()
{
    const QByteArray old = EditorTestFolder::big5(u"甲\r\n"_s);
    QVERIFY(m_folder->write(u"a.txt"_s, old));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    QTextCursor cursor = editor->txtBrowser()->textCursor();
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(u"乙𠀀"_s);
    clickSave(editor);
    QVERIFY2(lastMessageHas({m_folder->filePath(u"a.txt"_s), u"第 2 行第 2 字 「𠀀」"_s}), qPrintable(messages().join(u'\n')));
    QCOMPARE(EditorTestFolder::read(m_folder->filePath(u"a.txt"_s)), old);
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"甲\n乙𠀀"_s);
}

void TestFrmBrowserFailures::loadFileThatHasGone()
{
    QVERIFY(m_folder->write(u"a.txt"_s, "a\r\n"_ba));
    QVERIFY(m_folder->write(u"b.txt"_s, "b\r\n"_ba));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    QVERIFY(QFile::remove(m_folder->filePath(u"b.txt"_s)));
    QVERIFY(doubleClickFile(editor, u"b.txt"_s));
    QVERIFY2(lastMessageHas({m_folder->filePath(u"b.txt"_s), u"找不到"_s}), qPrintable(messages().join(u'\n')));
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"a\n"_s);
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"a.txt"_s));
    QVERIFY(!QFileInfo::exists(m_folder->filePath(u"b.txt"_s)));
}

// Bytes that are not Big5 are not shown as replacement characters, which a
// save would then write back over them: the file is refused.
void TestFrmBrowserFailures::loadBytesThatAreNotBig5()
{
    QVERIFY(m_folder->write(u"a.txt"_s, "a\r\n"_ba));
    QVERIFY(m_folder->write(u"bad.txt"_s, "ok\r\nno\xa4"_ba));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    QVERIFY(doubleClickFile(editor, u"bad.txt"_s));
    QVERIFY2(lastMessageHas({m_folder->filePath(u"bad.txt"_s), u"第 2 行的位元組 A4"_s}), qPrintable(messages().join(u'\n')));
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"a\n"_s);
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"a.txt"_s));
    QCOMPARE(EditorTestFolder::read(m_folder->filePath(u"bad.txt"_s)), "ok\r\nno\xa4"_ba);
}

// The process's folder was removed while the editor was closed: the window
// opens in the home folder instead.
void TestFrmBrowserFailures::openingInARemovedFolder()
{
    QVERIFY(m_folder->makeFolder(u"sub"_s));
    QVERIFY(QDir::setCurrent(m_folder->filePath(u"sub"_s)));
    QVERIFY(QDir(m_folder->filePath(u"sub"_s)).removeRecursively());
    frmBrowser *editor = openEditor();
    const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
    QCOMPARE(editor->dirList()->Path(), home);
    QCOMPARE(editor->filList()->Path(), home);
    QVERIFY(messages().isEmpty());
}

QTEST_MAIN(TestFrmBrowserFailures)
#include "test_frmbrowser_failures.moc"
