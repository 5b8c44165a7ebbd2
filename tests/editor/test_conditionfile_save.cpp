// Saving a condition file on real file systems: a full disk, a folder that
// takes no new file, hard links and a file of another owner.
#include "conditionfile.h"
#include "scratchdisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

struct stat statOf(const QString &path)
{
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st;
}

// Nothing but the named entries: no temporary file left behind.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

const QByteArray oldBytes = "\xb1\xf8\xa5\xf3\r\n\xb5\x6f\xbc\xf6\r\n"_ba; // 條件 / 發熱
const QString newText = u"頭痛\n發熱\n惡寒"_s;
const QByteArray newBytes = "\xc0\x59\xb5\x68\r\n\xb5\x6f\xbc\xf6\r\n\xb4\x63\xb4\x48"_ba;
}

class TestConditionFileSave : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fullDiskKeepsTheOldFile_data();
    void fullDiskKeepsTheOldFile();
    void fullDiskMakesNoNewFile();
    void folderWithoutNewFilesIsWrittenInPlace();
    void hardLinkedFileIsWrittenInPlace();
    void replaceKeepsOwnerAndMode();
};

void TestConditionFileSave::fullDiskKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("small text, smaller than a write buffer") << newText;
    QTest::newRow("21 KB text") << QString(10500, QChar(0x689d)); // 條 x 10500 = 21000 bytes
    QTest::newRow("shorter than the old file") << u"頭"_s;
}

// The disk is full once the old file is there: the new text does not fit
// (a new file beside the old one has no room), the old file stays whole and
// the failure says so.
void TestConditionFileSave::fullDiskKeepsTheOldFile()
{
    QFETCH(QString, text);
    ScratchDisk disk(16);
    if (!disk.isValid())
        QSKIP(qPrintable(disk.why()));
    const QString path = disk.path() + u"/條件.txt"_s;
    QVERIFY(writeBytes(path, oldBytes));
    QVERIFY(disk.fill());

    const Status saved = ConditionFile::save(path, text);
    QVERIFY(!saved.ok());
    QCOMPARE(saved.failure().number, FailureNumber::PathAccess);
    QVERIFY2(saved.failure().description.contains(path), qPrintable(saved.failure().description));
    QVERIFY2(saved.failure().description.endsWith(u"檔案未變更。"_s), qPrintable(saved.failure().description));
    QCOMPARE(readBytes(path), oldBytes);
    QCOMPARE(entries(disk.path()), (QStringList{u"filler"_s, u"條件.txt"_s}));
}

void TestConditionFileSave::fullDiskMakesNoNewFile()
{
    ScratchDisk disk(16);
    if (!disk.isValid())
        QSKIP(qPrintable(disk.why()));
    QVERIFY(disk.fill());
    const Status saved = ConditionFile::save(disk.path() + u"/new.txt"_s, newText);
    QVERIFY(!saved.ok());
    QCOMPARE(entries(disk.path()), QStringList{u"filler"_s});
}

// A folder where no new file can be made (immutable for the super-user,
// without write permission for anyone else): the existing file is written in
// place; a new name there still fails, with nothing made.
void TestConditionFileSave::folderWithoutNewFilesIsWrittenInPlace()
{
    QTemporaryDir top;
    ScratchDisk disk(256);
    const QString folder = (disk.isValid() ? disk.path() : top.path()) + u"/locked"_s;
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + u"/a.txt"_s;
    QVERIFY(writeBytes(path, oldBytes));
    const ino_t inode = statOf(path).st_ino;
    bool locked = false;
    if (::geteuid() == 0) {
        if (!disk.isValid())
            QSKIP(qPrintable(disk.why()));
        locked = ScratchDisk::setImmutable(folder, true);
        if (!locked)
            QSKIP("this file system has no immutable attribute");
    } else {
        locked = ::chmod(QFile::encodeName(folder).constData(), 0555) == 0;
        QVERIFY(locked);
    }
    const auto unlock = qScopeGuard([&] {
        if (::geteuid() == 0)
            ScratchDisk::setImmutable(folder, false);
        else
            ::chmod(QFile::encodeName(folder).constData(), 0755);
    });
    QVERIFY(!QFile(folder + u"/probe"_s).open(QIODevice::WriteOnly)); // really no new file

    const Status saved = ConditionFile::save(path, newText);
    QVERIFY2(saved.ok(), qPrintable(saved.failure().description));
    QCOMPARE(readBytes(path), newBytes);
    QCOMPARE(statOf(path).st_ino, inode);
    QVERIFY(ConditionFile::save(path, u"頭"_s).ok()); // shorter: the rest is cut off
    QCOMPARE(readBytes(path), "\xc0\x59"_ba);

    const Status fresh = ConditionFile::save(folder + u"/b.txt"_s, newText);
    QVERIFY(!fresh.ok());
    QVERIFY2(fresh.failure().description.endsWith(u"檔案未變更。"_s), qPrintable(fresh.failure().description));
    QCOMPARE(entries(folder), QStringList{u"a.txt"_s});
}

// Both names of a file with two links show the new text.
void TestConditionFileSave::hardLinkedFileIsWrittenInPlace()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.txt"_s);
    const QString other = dir.filePath(u"b.txt"_s);
    QVERIFY(writeBytes(path, oldBytes));
    QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(other).constData()), 0);

    const Status saved = ConditionFile::save(path, newText);
    QVERIFY2(saved.ok(), qPrintable(saved.failure().description));
    QCOMPARE(readBytes(path), newBytes);
    QCOMPARE(readBytes(other), newBytes);
    QCOMPARE(statOf(path).st_ino, statOf(other).st_ino);
    QCOMPARE(entries(dir.path()), (QStringList{u"a.txt"_s, u"b.txt"_s}));
}

// The replacing file takes the old file's mode, and its owner where the
// super-user saves another user's file.
void TestConditionFileSave::replaceKeepsOwnerAndMode()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.txt"_s);
    QVERIFY(writeBytes(path, oldBytes));
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
    const bool otherOwner = ::geteuid() == 0;
    if (otherOwner)
        QCOMPARE(::chown(QFile::encodeName(path).constData(), 4242, 4343), 0);
    const struct stat before = statOf(path);

    const Status saved = ConditionFile::save(path, newText);
    QVERIFY2(saved.ok(), qPrintable(saved.failure().description));
    const struct stat after = statOf(path);
    QCOMPARE(readBytes(path), newBytes);
    QCOMPARE(after.st_mode & 07777, mode_t(0640));
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(entries(dir.path()), QStringList{u"a.txt"_s});
}

QTEST_APPLESS_MAIN(TestConditionFileSave)
#include "test_conditionfile_save.moc"
