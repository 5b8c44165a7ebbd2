// The page writer on real folders and real Big5 files: what ends up in the
// temporary page when the page, the tmp folder or the old temporary page is
// missing, odd or in the way.

#include "big5testing.h"
#include "highlightedpagewriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// Makes a file or folder truly unchangeable while it lives, for root too:
// the immutable attribute where the file system has it (root ignores mode
// bits), else mode bits without write permission (which bind other users).
class ReadOnlyGuard {
public:
    explicit ReadOnlyGuard(const QString &path) : m_path(QFile::encodeName(path))
    {
        m_immutable = setImmutable(true);
        if (!m_immutable && ::geteuid() != 0)
            m_chmodded = QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    }
    ~ReadOnlyGuard()
    {
        if (m_immutable)
            setImmutable(false);
        if (m_chmodded)
            QFile::setPermissions(QFile::decodeName(m_path), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    bool active() const { return m_immutable || m_chmodded; }

private:
    bool setImmutable(bool on) const
    {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    QByteArray m_path;
    bool m_immutable = false;
    bool m_chmodded = false;
};
}

class TestHighlightedPageWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void writesMarkedPage();
    void unreadablePageGivesEmptyTempPage_data();
    void unreadablePageGivesEmptyTempPage();
    void createsTmpFolderAndLeavesExistingOneAlone();
    void replacesExistingTempPage();
    void tmpFolderNameTakenByFile();
    void readOnlyProgramFolder();
    void staleTempPageThatCannotBeReplaced();
    void voidFormWritesTheSamePage();

private:
    QString tempPagePath() const { return m_folder->path() + u"/tmp/TmpVORNAX.htm"_s; }
    std::unique_ptr<QTemporaryDir> m_folder;
};

void TestHighlightedPageWriter::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    QVERIFY(m_folder->isValid());
    QVERIFY(QDir(m_folder->path()).mkpath(u"books"_s));
    writeFile(m_folder->path() + u"/books/b1.htm"_s, big5(u"<html><body><p>發熱而頭痛，頭痛甚</p></body></html>"_s));
}

void TestHighlightedPageWriter::writesMarkedPage()
{
    // Stored page paths use "\" between folders.
    const HighlightReport report =
        writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books\\b1.htm"_s, u"發熱 頭痛"_s);
    QCOMPARE(report.terms, (QStringList { u"發熱"_s, u"頭痛"_s }));
    QVERIFY(report.pageRead);
    QVERIFY(report.tempPageWritten);
    QVERIFY(report.failures.isEmpty());
    QCOMPARE(readFile(tempPagePath()),
             big5(u"<html><body><p><font color=red>發熱</font>而<font color=red>頭痛</font>，"
                  u"<font color=red>頭痛</font>甚</p></body></html>"_s));
    // It says which marks it inserted, in the page's order.
    QStringList marks;
    for (const PageMark &mark : report.marks)
        marks.append(u"%1 %2"_s.arg(mark.term).arg(mark.text));
    QCOMPARE(marks, (QStringList { u"0 發熱"_s, u"1 頭痛"_s, u"1 頭痛"_s }));
}

void TestHighlightedPageWriter::unreadablePageGivesEmptyTempPage_data()
{
    QTest::addColumn<QString>("pagePath");
    QTest::addColumn<bool>("pageRead");
    QTest::newRow("missing page") << u"books/none.htm"_s << false;
    QTest::newRow("empty page path") << QString() << false;
    QTest::newRow("page path naming a folder") << u"books"_s << false;
    QTest::newRow("zero-byte page") << u"books/empty.htm"_s << true;
}

void TestHighlightedPageWriter::unreadablePageGivesEmptyTempPage()
{
    QFETCH(QString, pagePath);
    QFETCH(bool, pageRead);
    writeFile(m_folder->path() + u"/books/empty.htm"_s, QByteArray());
    const HighlightReport report = writeHighlightedPageReport(m_folder->path(), tempPagePath(), pagePath, u"發熱"_s);
    QCOMPARE(report.pageRead, pageRead);
    QCOMPARE(report.failures.isEmpty(), pageRead);
    QVERIFY(report.tempPageWritten);
    QCOMPARE(readFile(tempPagePath()), QByteArray());
    QVERIFY(report.marks.isEmpty());
}

void TestHighlightedPageWriter::createsTmpFolderAndLeavesExistingOneAlone()
{
    const QString tmp = m_folder->path() + u"/tmp"_s;
    QVERIFY(!QFileInfo::exists(tmp));
    QVERIFY(writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books/b1.htm"_s, QString()).tmpFolderReady);
    QVERIFY(QFileInfo(tmp).isDir());
    writeFile(tmp + u"/other.txt"_s, "kept");
    const HighlightReport again = writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books/b1.htm"_s, QString());
    QVERIFY(again.tmpFolderReady);
    QCOMPARE(readFile(tmp + u"/other.txt"_s), QByteArray("kept"));
    // No terms: the page comes through byte for byte.
    QCOMPARE(readFile(tempPagePath()), readFile(m_folder->path() + u"/books/b1.htm"_s));
}

void TestHighlightedPageWriter::replacesExistingTempPage()
{
    QVERIFY(QDir(m_folder->path()).mkdir(u"tmp"_s));
    writeFile(tempPagePath(), QByteArray(4096, 'x'));
    writeFile(m_folder->path() + u"/books/short.htm"_s, big5(u"頭痛"_s));
    const HighlightReport report =
        writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books/short.htm"_s, u"頭痛"_s);
    QVERIFY(report.tempPageWritten);
    QCOMPARE(readFile(tempPagePath()), big5(u"<font color=red>頭痛</font>"_s));
}

void TestHighlightedPageWriter::tmpFolderNameTakenByFile()
{
    writeFile(m_folder->path() + u"/tmp"_s, "a file, not a folder");
    const HighlightReport report =
        writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books/b1.htm"_s, u"發熱"_s);
    QVERIFY(!report.tmpFolderReady);
    QVERIFY(report.pageRead);
    QVERIFY(!report.tempPageWritten);
    QVERIFY(!report.failures.isEmpty());
    QCOMPARE(readFile(m_folder->path() + u"/tmp"_s), QByteArray("a file, not a folder"));
}

void TestHighlightedPageWriter::readOnlyProgramFolder()
{
    HighlightReport report;
    {
        const ReadOnlyGuard readOnly(m_folder->path());
        if (!readOnly.active())
            QSKIP("this file system cannot make a folder read-only for root");
        report = writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books/b1.htm"_s, u"發熱"_s);
    }
    QVERIFY(!report.tmpFolderReady);
    QVERIFY(report.pageRead);
    QVERIFY(!report.tempPageWritten);
    QVERIFY(report.failures.size() >= 2);
    QVERIFY(!QFileInfo::exists(m_folder->path() + u"/tmp"_s));
}

void TestHighlightedPageWriter::staleTempPageThatCannotBeReplaced()
{
    // The temporary page of an earlier record stays behind: the report must
    // say so, or the window would show the wrong record.
    QVERIFY(QDir(m_folder->path()).mkdir(u"tmp"_s));
    writeFile(tempPagePath(), "earlier record");
    HighlightReport report;
    {
        const ReadOnlyGuard pageGuard(tempPagePath());
        const ReadOnlyGuard folderGuard(m_folder->path() + u"/tmp"_s);
        if (!pageGuard.active() || !folderGuard.active())
            QSKIP("this file system cannot make a file read-only for root");
        report = writeHighlightedPageReport(m_folder->path(), tempPagePath(), u"books/b1.htm"_s, u"發熱"_s);
    }
    QVERIFY(report.tmpFolderReady);
    QVERIFY(!report.tempPageWritten);
    QCOMPARE(readFile(tempPagePath()), QByteArray("earlier record"));
}

void TestHighlightedPageWriter::voidFormWritesTheSamePage()
{
    WriteHighlightedPage(m_folder->path(), tempPagePath(), u"books/b1.htm"_s, u"頭痛"_s);
    QCOMPARE(fromBig5(readFile(tempPagePath())),
             u"<html><body><p>發熱而<font color=red>頭痛</font>，<font color=red>頭痛</font>甚</p></body></html>"_s);
    // A program folder that does not exist: every step fails, the call returns.
    WriteHighlightedPage(m_folder->path() + u"/none"_s, m_folder->path() + u"/none/tmp/TmpVORNAX.htm"_s,
                         u"books/b1.htm"_s, u"頭痛"_s);
    QVERIFY(!QFileInfo::exists(m_folder->path() + u"/none"_s));
}

QTEST_APPLESS_MAIN(TestHighlightedPageWriter)
#include "test_highlightedpagewriter.moc"
