#include "dirlistbox.h"
#include "drivelistbox.h"
#include "editordriver.h"
#include "editortestfolder.h"
#include "filelistbox.h"
#include "forms.h"
#include "frmbrowser.h"
#include "twips.h"

#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include <unistd.h>

using namespace Qt::StringLiterals;

using namespace EditorDriver;

class TestFrmBrowser : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void opensInTheCurrentFolderInDesignState();
    void controlsAsDesigned_data();
    void controlsAsDesigned();
    void fileListShowsConditionFiles();
    void doubleClickLoadsTheFile();
    void loadThenSaveKeepsTheBytes_data();
    void loadThenSaveKeepsTheBytes();
    void typedLineEndsAreSaved();
    void saveWritesIntoTheFileSelectedNow();
    void fileInTheRootFolder();
    void reopenedWindowStartsInTheLastFolder();
    void driveChangeMovesTheListsThenTheProcessFolder();

private:
    std::unique_ptr<EditorTestFolder> m_folder;
    QString m_startFolder;
};

void TestFrmBrowser::initTestCase()
{
    start();
    m_startFolder = QDir::currentPath();
}

void TestFrmBrowser::init()
{
    Forms::reset();
    messages().clear();
    m_folder = std::make_unique<EditorTestFolder>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir::setCurrent(m_folder->path()));
}

void TestFrmBrowser::cleanup()
{
    Forms::reset();
    QDir::setCurrent(m_startFolder);
    m_folder.reset();
}

void TestFrmBrowser::opensInTheCurrentFolderInDesignState()
{
    QVERIFY(m_folder->write(u"a.txt"_s, "x"_ba));
    frmBrowser *editor = openEditor();
    QCOMPARE(editor->windowTitle(), u"Tamvex 全文檢索條件 瀏覽、複製、編輯、更新、存檔"_s);
    QCOMPARE(editor->dirList()->Path(), m_folder->path());
    QCOMPARE(editor->filList()->Path(), m_folder->path());
    QCOMPARE(editor->drvList()->Drive(), u"/"_s);
    QVERIFY(editor->txtBrowser()->toPlainText().isEmpty());
    QVERIFY(editor->filList()->FileName().isEmpty());
    QCOMPARE(editor->focusWidget(), editor->filList());
    QVERIFY(messages().isEmpty());
}

void TestFrmBrowser::controlsAsDesigned_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("parentName");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<double>("points");
    QTest::newRow("text box") << u"txtBrowser"_s << QString() << QRect(120, 2880, 6615, 2895) << 12.75;
    QTest::newRow("folder list") << u"dirList"_s << QString() << QRect(360, 960, 3015, 1620) << 11.25;
    QTest::newRow("drive list") << u"drvList"_s << QString() << QRect(360, 480, 3015, 345) << 11.25;
    QTest::newRow("frame") << u"fraFrame"_s << QString() << QRect(120, 120, 6615, 6255) << 9.75;
    QTest::newRow("file list in the frame") << u"filList"_s << u"fraFrame"_s << QRect(3480, 360, 2895, 2115) << 11.25;
    QTest::newRow("save button in the frame") << u"Command1"_s << u"fraFrame"_s << QRect(5640, 5760, 855, 375) << 11.25;
}

void TestFrmBrowser::controlsAsDesigned()
{
    QFETCH(QString, name);
    QFETCH(QString, parentName);
    QFETCH(QRect, twips);
    QFETCH(double, points);
    frmBrowser *editor = openEditor();
    auto *control = editor->findChild<QWidget *>(name);
    QVERIFY(control);
    QCOMPARE(control->parentWidget()->objectName(), parentName.isEmpty() ? editor->objectName() : parentName);
    const QRect pixels(Twips::toPixels(twips.x(), editor), Twips::toPixels(twips.y(), editor),
                       Twips::toPixels(twips.width(), editor), Twips::toPixels(twips.height(), editor));
    QCOMPARE(control->geometry(), pixels);
    QCOMPARE(control->font().pointSizeF(), points);
    QVERIFY2(QFontInfo(control->font()).family().contains(u"CJK TC"_s), qPrintable(QFontInfo(control->font()).family()));
    // The frame lies under the lists and the text box.
    const QObjectList &stack = editor->children();
    if (parentName.isEmpty() && name != u"fraFrame"_s)
        QVERIFY(stack.indexOf(control) > stack.indexOf(editor->fraFrame()));
}

void TestFrmBrowser::fileListShowsConditionFiles()
{
    for (const QString &name : {u"a.txt"_s, u"B.TXT"_s, u"c.set"_s, u"d.doc"_s, u"e.txt.bak"_s})
        QVERIFY(m_folder->write(name, "x"_ba));
    QVERIFY(m_folder->makeFolder(u"f.txt"_s));
    frmBrowser *editor = openEditor();
    QStringList listed;
    for (int row = 0; row < editor->filList()->count(); ++row)
        listed << editor->filList()->item(row)->text();
    QCOMPARE(listed, QStringList({u"a.txt"_s, u"B.TXT"_s, u"c.set"_s}));
    QCOMPARE(editor->Command1()->text(), u"存檔"_s);
    QCOMPARE(editor->fraFrame()->title(), u"選擇檔案"_s);
}

void TestFrmBrowser::doubleClickLoadsTheFile()
{
    QVERIFY(m_folder->write(u"條件.txt"_s, EditorTestFolder::big5(u"傷寒 桂枝\r\n-金匱\r\n"_s)));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"條件.txt"_s));
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"條件.txt"_s));
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"傷寒 桂枝\n-金匱\n"_s);
    QVERIFY(messages().isEmpty());
}

void TestFrmBrowser::loadThenSaveKeepsTheBytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QByteArray>("saved");
    const QByteArray big5 = EditorTestFolder::big5(u"許可 功能\r\n+脈\r\n"_s); // trail bytes 0x5C
    QTest::newRow("CR LF lines, no line added") << "a\r\nb\r\n"_ba << "a\r\nb\r\n"_ba;
    QTest::newRow("no final line end") << "a\r\nb"_ba << "a\r\nb"_ba;
    QTest::newRow("empty file stays empty") << QByteArray() << QByteArray();
    QTest::newRow("empty lines at the end") << "a\r\n\r\n\r\n"_ba << "a\r\n\r\n\r\n"_ba;
    QTest::newRow("lone LF inside a line") << "a\nb\r\nc"_ba << "a\nb\r\nc"_ba;
    QTest::newRow("Big5 with trail byte 0x5C") << big5 << big5;
    QTest::newRow("lone CR is written as CR LF") << "a\rb\r"_ba << "a\r\nb\r\n"_ba;
}

void TestFrmBrowser::loadThenSaveKeepsTheBytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QByteArray, saved);
    QVERIFY(m_folder->write(u"a.txt"_s, bytes));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    clickSave(editor);
    QVERIFY2(messages().isEmpty(), qPrintable(messages().join(u'\n')));
    QCOMPARE(EditorTestFolder::read(m_folder->filePath(u"a.txt"_s)), saved);
}

// Enter starts a new line (CR LF); Shift+Enter breaks the line inside it,
// which is how a lone LF is typed.
void TestFrmBrowser::typedLineEndsAreSaved()
{
    QVERIFY(m_folder->write(u"a.txt"_s, QByteArray()));
    frmBrowser *editor = openEditor();
    QVERIFY(clickFile(editor, u"a.txt"_s));
    QPlainTextEdit *box = editor->txtBrowser();
    QTest::keyClicks(box, u"ab"_s);
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClicks(box, u"c"_s);
    QTest::keyClick(box, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(box, u"d"_s);
    clickSave(editor);
    QCOMPARE(EditorTestFolder::read(m_folder->filePath(u"a.txt"_s)), "ab\r\nc\nd"_ba);
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"a.txt"_s));
}

void TestFrmBrowser::saveWritesIntoTheFileSelectedNow()
{
    const QByteArray conditions = EditorTestFolder::big5(u"黃芪 當歸\r\n"_s);
    QVERIFY(m_folder->write(u"a.txt"_s, conditions));
    QVERIFY(m_folder->write(u"b.set"_s, "old\r\n"_ba));
    frmBrowser *editor = openEditor();
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    QVERIFY(clickFile(editor, u"b.set"_s));
    clickSave(editor);
    QCOMPARE(EditorTestFolder::read(m_folder->filePath(u"b.set"_s)), conditions);
    QCOMPARE(EditorTestFolder::read(m_folder->filePath(u"a.txt"_s)), conditions);
    QCOMPARE(editor->windowTitle(), m_folder->filePath(u"b.set"_s));
}

void TestFrmBrowser::fileInTheRootFolder()
{
    const QString name = u"tamvex-editor-test-%1.txt"_s.arg(::getpid());
    const QString path = u"/"_s + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write("r\r\n") != 3)
        QSKIP("the root folder takes no files here");
    file.close();
    const auto removeFile = qScopeGuard([&] { QFile::remove(path); });
    frmBrowser *editor = openEditor();
    QVERIFY(openFolder(editor, u"/"_s));
    QCOMPARE(editor->filList()->Path(), u"/"_s);
    QVERIFY(doubleClickFile(editor, name));
    QCOMPARE(editor->windowTitle(), path);
    QCOMPARE(editor->txtBrowser()->toPlainText(), u"r\n"_s);
    editor->txtBrowser()->setPlainText(u"root\n"_s);
    clickSave(editor);
    QCOMPARE(editor->windowTitle(), path);
    QCOMPARE(EditorTestFolder::read(path), "root\r\n"_ba);
}

void TestFrmBrowser::reopenedWindowStartsInTheLastFolder()
{
    QVERIFY(m_folder->write(u"sub/a.txt"_s, "a\r\n"_ba));
    frmBrowser *editor = openEditor();
    const QString sub = m_folder->filePath(u"sub"_s);
    QVERIFY(openFolder(editor, sub));
    QCOMPARE(currentFolder(), sub);
    QVERIFY(doubleClickFile(editor, u"a.txt"_s));
    editor->close(); // the title bar's close button
    QVERIFY(!Forms::isLoaded(u"frmBrowser"_s));

    frmBrowser *again = openEditor();
    QCOMPARE(again->dirList()->Path(), sub);
    QCOMPARE(again->filList()->Path(), sub);
    QVERIFY(again->txtBrowser()->toPlainText().isEmpty());
    QCOMPARE(again->windowTitle(), frmBrowser::designCaption());
}

void TestFrmBrowser::driveChangeMovesTheListsThenTheProcessFolder()
{
    frmBrowser *editor = openEditor();
    // The test folder stands in for a second drive's mount point.
    editor->drvList()->setDrives({u"/"_s, m_folder->path()});
    editor->drvList()->selectDriveOf(m_folder->path());
    QCOMPARE(editor->drvList()->Drive(), m_folder->path());
    QStringList seen;
    const QMetaObject::Connection watch =
        connect(editor->filList()->model(), &QAbstractItemModel::modelReset, this,
                [&] { seen << editor->dirList()->Path() << currentFolder(); });
    const auto unwatch = qScopeGuard([&] { disconnect(watch); });
    QTest::keyClick(editor->drvList(), Qt::Key_Up);
    QCOMPARE(editor->drvList()->Drive(), u"/"_s);
    // When the file list moved, the folder list had moved and the process
    // folder had not yet.
    QCOMPARE(seen, QStringList({u"/"_s, m_folder->path()}));
    QCOMPARE(editor->filList()->Path(), u"/"_s);
    QCOMPARE(currentFolder(), u"/"_s);
    QVERIFY(messages().isEmpty());
}

QTEST_MAIN(TestFrmBrowser)
#include "test_frmbrowser.moc"
