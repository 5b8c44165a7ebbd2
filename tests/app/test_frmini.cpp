#include "forms.h"
#include "frmini.h"
#include "graphicalbutton.h"
#include "modtamvex.h"
#include "programfolder.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Writes a one-colour JPEG picture of the given size.
void writePicture(const QString &path, QSize size, QColor color)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    QVERIFY(image.save(path, "JPG"));
}

struct Launch {
    QString program;
    QStringList arguments;
};
}

class TestFrmIni : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void loadStepPlacesWindowAndSetsConnectionString();
    void optionalPicturesReplaceDesign_data();
    void optionalPicturesReplaceDesign();
    void buttonPictureReplacesNormalAndThirdOnly();
    void demoButtonDoesNothingWithoutItsPicture();
    void demoButtonOpensPageAsOneArgument();
    void searchButtonShowsMainWindow();

private:
    FrmIni *loadedStartScreen();
    QTemporaryDir *m_dir = nullptr;
    QList<Launch> m_launches;
};

void TestFrmIni::init()
{
    Forms::reset();
    m_dir = new QTemporaryDir(QDir::tempPath() + u"/start screen XXXXXX"_qs);
    setProgramFolderOverride(m_dir->path());
    m_launches.clear();
    FrmIni::setLauncher([this](const QString &program, const QStringList &arguments) {
        m_launches.append({program, arguments});
        return true;
    });
    Forms::registerForm(u"FrmIni"_qs, [] { return new FrmIni; });
}

void TestFrmIni::cleanup()
{
    Forms::reset();
    setProgramFolderOverride(QString());
    delete m_dir;
}

FrmIni *TestFrmIni::loadedStartScreen()
{
    auto *form = Forms::instance<FrmIni>(u"FrmIni"_qs);
    form->Load();
    return form;
}

void TestFrmIni::loadStepPlacesWindowAndSetsConnectionString()
{
    modTamvex::ConnectionString.clear();
    FrmIni *form = loadedStartScreen();
    QCOMPARE(form->pos(), QPoint(0, 0));
    QCOMPARE(modTamvex::ConnectionString,
             u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source="_qs + m_dir->path() + u"/jst.mdb;Persist Security Info=False"_qs);
    QCOMPARE(form->windowTitle(), u"Tamvex"_qs);
    QVERIFY(form->cmdQuery->isVisibleTo(form));
    QVERIFY(form->cmdSet->isVisibleTo(form));
}

void TestFrmIni::optionalPicturesReplaceDesign_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("none: design artwork") << u"none"_qs << false;
    QTest::newRow("a real picture replaces it") << u"picture"_qs << true;
    QTest::newRow("a folder of that name counts as absent") << u"folder"_qs << false;
    QTest::newRow("a file that is no picture keeps the design") << u"garbage"_qs << false;
}

void TestFrmIni::optionalPicturesReplaceDesign()
{
    QFETCH(QString, kind);
    QFETCH(bool, replaced);
    const QString path = m_dir->path() + u"/index.jpg"_qs;
    if (kind == u"picture"_qs)
        writePicture(path, QSize(320, 200), Qt::red);
    if (kind == u"folder"_qs)
        QVERIFY(QDir(m_dir->path()).mkdir(u"index.jpg"_qs));
    if (kind == u"garbage"_qs) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a picture");
    }
    FrmIni *form = loadedStartScreen();
    const QSize size = form->backgroundPicture().size();
    QCOMPARE(size == QSize(320, 200), replaced);
    if (!replaced)
        QCOMPARE(size, QSize(800, 580));
}

void TestFrmIni::buttonPictureReplacesNormalAndThirdOnly()
{
    writePicture(m_dir->path() + u"/index-logo1.jpg"_qs, QSize(100, 40), Qt::green);
    FrmIni *form = loadedStartScreen();
    QCOMPARE(form->cmdQuery->picture().size(), QSize(100, 40));
    QCOMPARE(form->cmdQuery->disabledPicture().size(), QSize(100, 40));
    QCOMPARE(form->cmdQuery->downPicture().size(), QSize(141, 50));
    QCOMPARE(form->cmdSet->picture().size(), QSize(170, 60));
}

void TestFrmIni::demoButtonDoesNothingWithoutItsPicture()
{
    FrmIni *form = loadedStartScreen();
    form->cmdSet->click();
    QVERIFY(m_launches.isEmpty());
}

void TestFrmIni::demoButtonOpensPageAsOneArgument()
{
    writePicture(m_dir->path() + u"/index-logo2.jpg"_qs, QSize(90, 30), Qt::blue);
    FrmIni *form = loadedStartScreen();
    QCOMPARE(form->cmdSet->picture().size(), QSize(90, 30));
    form->cmdSet->click();
    form->cmdSet->click();
    QCOMPARE(m_launches.size(), 2);
    QCOMPARE(m_launches.first().arguments, QStringList{m_dir->path() + u"/demo/index.htm"_qs});
}

void TestFrmIni::searchButtonShowsMainWindow()
{
    int shown = 0;
    Forms::registerForm(u"FrmTamvexMain"_qs, [&shown] {
        ++shown;
        return new TamvexForm(u"FrmTamvexMain"_qs);
    });
    FrmIni *form = loadedStartScreen();
    form->cmdQuery->click();
    QCOMPARE(shown, 1);
    QVERIFY(Forms::isLoaded(u"FrmTamvexMain"_qs));
    QVERIFY(Forms::existing(u"FrmTamvexMain"_qs)->isVisible());
}

QTEST_MAIN(TestFrmIni)
#include "test_frmini.moc"
