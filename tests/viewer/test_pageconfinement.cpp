#include "pageconfinement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A program folder with a page, a picture and a link that leads out of it,
// and a sibling folder outside it.
class TestPageConfinement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void allows_data();
    void allows();

private:
    QTemporaryDir m_dir;
    QString m_folder;
    QString m_outside;
};

void TestPageConfinement::initTestCase()
{
    m_folder = m_dir.filePath(QStringLiteral("program"));
    m_outside = m_dir.filePath(QStringLiteral("outside"));
    QVERIFY(QDir().mkpath(m_folder + QStringLiteral("/books")));
    QVERIFY(QDir().mkpath(m_outside));
    for (const QString &file : {m_folder + QStringLiteral("/books/p.htm"), m_folder + QStringLiteral("/pic.png"),
                                m_outside + QStringLiteral("/x.htm"), m_outside + QStringLiteral("/secret.txt")}) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    QVERIFY(QFile::link(m_outside + QStringLiteral("/secret.txt"), m_folder + QStringLiteral("/link.txt")));
}

void TestPageConfinement::allows_data()
{
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("topFrame");
    QTest::addColumn<bool>("allowed");
    const QString in = QUrl::fromLocalFile(m_folder).toString();
    const QString out = QUrl::fromLocalFile(m_outside).toString();
    QTest::newRow("a page of the collection") << in + QStringLiteral("/books/p.htm") << true << true;
    QTest::newRow("its picture") << in + QStringLiteral("/pic.png") << false << true;
    QTest::newRow("a fragment of the shown page") << out + QStringLiteral("/x.htm#p2") << true << true;
    QTest::newRow("the shown page outside, as a frame's document") << out + QStringLiteral("/x.htm") << false << false;
    QTest::newRow("another page outside") << out + QStringLiteral("/secret.txt") << true << false;
    QTest::newRow("a file outside, as a resource") << out + QStringLiteral("/secret.txt") << false << false;
    QTest::newRow("a link inside leading outside") << in + QStringLiteral("/link.txt") << false << false;
    QTest::newRow("the system's files") << QStringLiteral("file:///etc/passwd") << false << false;
    QTest::newRow("a folder listing, even inside") << in + QStringLiteral("/books/") << false << false;
    QTest::newRow("a missing file") << in + QStringLiteral("/none.png") << false << false;
    QTest::newRow("climbing out with ..") << in + QStringLiteral("/books/../../outside/secret.txt") << false << false;
    QTest::newRow("a file URL with a host") << QStringLiteral("file://server/share/x.htm") << false << false;
    QTest::newRow("http") << QStringLiteral("http://127.0.0.1:8080/x.png") << false << false;
    QTest::newRow("https") << QStringLiteral("https://example.org/") << true << false;
    QTest::newRow("WebSocket") << QStringLiteral("ws://127.0.0.1:9/") << false << false;
    QTest::newRow("secure WebSocket") << QStringLiteral("wss://127.0.0.1:9/") << false << false;
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/") << false << false;
    QTest::newRow("qrc of the program") << QStringLiteral("qrc:/tamvex/icon.png") << false << false;
    QTest::newRow("data: carries no request") << QStringLiteral("data:text/plain,a") << false << true;
    QTest::newRow("about:blank") << QStringLiteral("about:blank") << true << true;
}

void TestPageConfinement::allows()
{
    QFETCH(QString, url);
    QFETCH(bool, topFrame);
    QFETCH(bool, allowed);
    PageConfinement confinement({m_folder});
    confinement.setShownPage(QUrl::fromLocalFile(m_outside + QStringLiteral("/x.htm")));
    QCOMPARE(confinement.allows(QUrl(url), topFrame), allowed);
}

QTEST_GUILESS_MAIN(TestPageConfinement)
#include "test_pageconfinement.moc"
