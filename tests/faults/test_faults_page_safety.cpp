// What a record page may do to the reader, through the real window and the
// real web engine: read no file of the reader's, reach no network, and
// neither a FIFO nor a full disk in the page's way holds the window up or
// shows a cut page.

#include "faultfolder.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Every route a page's script has to a file or a server; each reports into
// window.report, read by the test once all have settled.
QByteArray hostilePage(quint16 port)
{
    const QByteArray p = QByteArray::number(port);
    return QByteArray(
               "<html><head><link rel=stylesheet href=\"../own.css\"></head><body>"
               "<img id=own src=\"../own.png\"><img id=remote src=\"http://127.0.0.1:")
           + p
           + "/x.png\">"
             "<iframe id=frame src=\"file:///etc/passwd\"></iframe><script>\n"
             "const settle = (p) => Promise.race([p, new Promise(r => setTimeout(() => r('timeout'), 3000))]);\n"
             "const fetched = (u) => settle(fetch(u).then(r => r.text()).then(t => 'read ' + t.length, () => 'refused'));\n"
             "const xhr = (u) => settle(new Promise(r => { const x = new XMLHttpRequest();\n"
             "  x.onload = () => r('read ' + x.responseText.length); x.onerror = () => r('refused');\n"
             "  try { x.open('GET', u); x.send(); } catch (e) { r('refused'); } }));\n"
             "const socket = () => settle(new Promise(r => { try { const s = new WebSocket('ws://127.0.0.1:"
           + p
           + "/');\n"
             "  s.onopen = () => r('open'); s.onerror = () => r('refused'); } catch (e) { r('refused'); } }));\n"
             "window.addEventListener('load', async () => {\n"
             "  const report = {};\n"
             "  report.fetchPasswd = await fetched('file:///etc/passwd');\n"
             "  report.fetchFolder = await fetched('file:///etc/');\n"
             "  report.xhrPasswd = await xhr('file:///etc/passwd');\n"
             "  report.socket = await socket();\n"
             "  let frameText = 'refused';\n"
             "  try { const d = document.getElementById('frame').contentDocument;\n"
             "        if (d && d.body && d.body.innerText.includes('root:')) frameText = 'read'; } catch (e) {}\n"
             "  report.frame = frameText;\n"
             "  report.popup = window.open('file:///etc/passwd') ? 'opened' : 'refused';\n"
             "  report.ownPicture = document.getElementById('own').naturalWidth > 0 ? 'shown' : 'missing';\n"
             "  report.ownStyle = getComputedStyle(document.body).color;\n"
             "  window.report = JSON.stringify(report);\n"
             "});\n"
             "</script></body></html>";
}

QString waitForReport(FrmTamvexMain *main)
{
    for (int i = 0; i < 400; ++i) {
        const QVariant report = MainWindowFixture::evaluate(main, QStringLiteral("window.report || ''"));
        if (!report.toString().isEmpty())
            return report.toString();
        QTest::qWait(50);
    }
    return QString();
}

// The page file of row's record, as the window reads it.
QString recordPage(MainWindowFixture &fixture, FrmTamvexMain *main, int row)
{
    QString stored = main->Grd1()->TextMatrix(row, 1);
    stored.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return fixture.folder() + QLatin1Char('/') + stored;
}

QByteArray pngOfOnePixel()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}
}

class TestFaultsPageSafety : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void pageReadsNoFileAndReachesNoServer();
    void fifoAsPageDoesNotHoldTheWindow();
    void fullDiskShowsTheRecordsOwnPage();
};

void TestFaultsPageSafety::pageReadsNoFileAndReachesNoServer()
{
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    MainWindowFixture fixture;
    writeFile(fixture.folder() + QStringLiteral("/own.png"), pngOfOnePixel());
    writeFile(fixture.folder() + QStringLiteral("/own.css"), "body { color: rgb(1, 2, 3); }");
    FrmTamvexMain *main = fixture.openMainWindow();
    Faults::search(main, QString());
    QVERIFY(main->Grd1()->Rows() > 2);
    writeFile(recordPage(fixture, main, 1), hostilePage(server.serverPort()));
    Faults::search(main, QString());
    QVERIFY(Faults::pageShown(main));
    const QString report = waitForReport(main);
    QVERIFY2(!report.isEmpty(), "the page never reported");
    const QJsonObject r = QJsonDocument::fromJson(report.toUtf8()).object();
    for (const char *route : {"fetchPasswd", "fetchFolder", "xhrPasswd", "socket", "frame", "popup"})
        QVERIFY2(r.value(QLatin1String(route)).toString() != QLatin1String("open")
                     && !r.value(QLatin1String(route)).toString().startsWith(QLatin1String("read"))
                     && r.value(QLatin1String(route)).toString() != QLatin1String("opened"),
                 qPrintable(QLatin1String(route) + QLatin1String(": ") + report));
    QCOMPARE(r.value(QLatin1String("ownPicture")).toString(), QStringLiteral("shown"));
    QCOMPARE(r.value(QLatin1String("ownStyle")).toString(), QStringLiteral("rgb(1, 2, 3)"));
    QTest::qWait(200);
    QVERIFY2(!server.hasPendingConnections() && !server.waitForNewConnection(200), "a page reached a local server");
}

void TestFaultsPageSafety::fifoAsPageDoesNotHoldTheWindow()
{
    MainWindowFixture fixture;
    FrmTamvexMain *main = fixture.openMainWindow();
    Faults::search(main, QString());
    QVERIFY(main->Grd1()->Rows() > 2);
    const QString page = recordPage(fixture, main, 2);
    QVERIFY(QFile::remove(page));
    QVERIFY(::mkfifo(QFile::encodeName(page).constData(), 0644) == 0);
    QElapsedTimer clock;
    clock.start();
    main->Grd1()->setRow(2);
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(Faults::pageShown(main));
    QCOMPARE(main->navigatedPath(), fixture.folder() + QStringLiteral("/tmp/TmpVORNAX.htm"));
    const QString text = MainWindowFixture::evaluate(main, QStringLiteral("document.body.innerText")).toString();
    QVERIFY2(text.contains(QStringLiteral("not a regular file")), qPrintable(text));
    QFile::remove(page);
}

void TestFaultsPageSafety::fullDiskShowsTheRecordsOwnPage()
{
    if (::geteuid() != 0)
        QSKIP("needs root to mount a small file system");
    MainWindowFixture fixture;
    const QString tmp = fixture.folder() + QStringLiteral("/tmp");
    QDir().mkpath(tmp);
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                                   QStringLiteral("size=64k"), QStringLiteral("tamvex-test"), tmp})
        != 0)
        QSKIP("mount refused");
    FrmTamvexMain *main = fixture.openMainWindow();
    Faults::search(main, QString());
    const QString page = recordPage(fixture, main, 1);
    writeFile(page, QByteArray("<html><body><p>") + QByteArray(300000, 'a') + QByteArray("</p></body></html>"));
    Faults::search(main, QString());
    const QString shown = main->navigatedPath();
    QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), tmp});
    QCOMPARE(shown, page);
}

QTEST_MAIN(TestFaultsPageSafety)
#include "test_faults_page_safety.moc"
