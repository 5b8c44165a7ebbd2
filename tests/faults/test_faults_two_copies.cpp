// Two copies of the program started from one folder share one temporary
// page. Two processes of tamvex-cli, running at once on one folder, stand in
// for them: neither fails, each finds its rows, and the temporary page is
// always one whole marked page, never a mix of the two.

#include "pagemarker.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString Cli = QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli");

QByteArray big5(const QString &text)
{
    QStringEncoder encoder("windows-950");
    return encoder.encode(text);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
}

class TestFaultsTwoCopies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void twoPageWritersAtOnce();
    void twoSearchesAtOnce();
};

void TestFaultsTwoCopies::twoPageWritersAtOnce()
{
    QTemporaryDir dir;
    // A short page and a long one: a mix of the two would show as a short
    // page with the long one's tail.
    const QByteArray shortPage = big5(u"<p>發熱</p>"_qs);
    QByteArray longPage = big5(u"<p>"_qs);
    for (int i = 0; i < 20000; ++i)
        longPage += big5(u"頭痛惡寒"_qs);
    longPage += big5(u"</p>"_qs);
    QVERIFY(writeBytes(dir.filePath(u"a.htm"_qs), shortPage));
    QVERIFY(writeBytes(dir.filePath(u"b.htm"_qs), longPage));
    const QByteArray markedA = markPage(shortPage, {u"發熱"_qs});
    const QByteArray markedB = markPage(longPage, {u"頭痛"_qs});
    const QString temp = dir.filePath(u"tmp/TmpVORNAX.htm"_qs);

    for (int round = 0; round < 300; ++round) {
        QProcess a, b;
        a.start(Cli, {u"mark"_qs, u"--program-folder"_qs, dir.path(), u"a.htm"_qs, u"發熱"_qs});
        b.start(Cli, {u"mark"_qs, u"--program-folder"_qs, dir.path(), u"b.htm"_qs, u"頭痛"_qs});
        QVERIFY(a.waitForFinished(60000));
        QVERIFY(b.waitForFinished(60000));
        QCOMPARE(a.exitStatus(), QProcess::NormalExit);
        QCOMPARE(b.exitStatus(), QProcess::NormalExit);
        QCOMPARE(a.exitCode(), 0);
        QCOMPARE(b.exitCode(), 0);
        const QByteArray left = readBytes(temp);
        QVERIFY2(left == markedA || left == markedB,
                 qPrintable(u"round %1: temporary page of %2 bytes is neither page"_qs.arg(round).arg(left.size())));
    }
    // The record pages are only read.
    QCOMPARE(readBytes(dir.filePath(u"a.htm"_qs)), shortPage);
    QCOMPARE(readBytes(dir.filePath(u"b.htm"_qs)), longPage);
}

void TestFaultsTwoCopies::twoSearchesAtOnce()
{
    // The installation folder beside the tool holds the sample collection.
    const QString folder = QStringLiteral(TAMVEX_INSTALL_DIR);
    if (!QFile::exists(folder + u"/jst.mdb"_qs))
        QSKIP("no sample collection in the installation folder");
    QProcess first;
    first.start(Cli, {u"search"_qs, u"--program-folder"_qs, folder, u"發熱"_qs});
    QProcess again;
    again.start(Cli, {u"search"_qs, u"--program-folder"_qs, folder, u"發熱"_qs});
    QVERIFY(first.waitForFinished(60000));
    QVERIFY(again.waitForFinished(60000));
    QCOMPARE(first.exitCode(), 0);
    QCOMPARE(again.exitCode(), 0);
    const QByteArray rows = first.readAllStandardOutput();
    QVERIFY(!rows.isEmpty());
    QCOMPARE(again.readAllStandardOutput(), rows);
}

QTEST_GUILESS_MAIN(TestFaultsTwoCopies)
#include "test_faults_two_copies.moc"
