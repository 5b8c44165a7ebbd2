#include "frmini.h"

#include <QCoreApplication>

#include "filetests.h"
#include "forms.h"
#include "graphicalbutton.h"
#include "messagebox.h"
#include "modtamvex.h"
#include "programfolder.h"
#include "twips.h"

#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>

namespace {
FrmIni::Launcher &launcher()
{
    static FrmIni::Launcher current = [](const QString &program, const QStringList &arguments) {
        return QProcess::startDetached(program, arguments);
    };
    return current;
}

// A picture file that is there and really is a picture; a file that cannot
// be read as one leaves the design picture in place.
bool loadPicture(const QString &path, QPixmap &picture)
{
    if (!isOrdinaryFile(path))
        return false;
    QPixmap loaded;
    if (!loaded.load(path))
        return false;
    picture = loaded;
    return true;
}
}

FrmIni::FrmIni() : TamvexForm(QStringLiteral("FrmIni"))
{
    setWindowTitle(productLabel());
    resize(Twips::toPixels(12000, this), Twips::toPixels(8610, this));
    // The artwork's own edge colour, where the client area is larger than it.
    setBackgroundColour(QColor(226, 190, 138));
    m_background = new QLabel(this);
    m_background->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setBackgroundPicture(QPixmap(QStringLiteral(":/tamvex/start.jpg")));

    cmdQuery = new GraphicalButton(this);
    cmdQuery->setObjectName(QStringLiteral("cmdQuery"));
    Twips::setGeometry(cmdQuery, 8400, 3720, 2100, 735);
    cmdQuery->setPicture(QPixmap(QStringLiteral(":/tamvex/query-normal.jpg")));
    cmdQuery->setDownPicture(QPixmap(QStringLiteral(":/tamvex/query-pressed.jpg")));
    cmdQuery->setDisabledPicture(cmdQuery->picture());

    cmdSet = new GraphicalButton(this);
    cmdSet->setObjectName(QStringLiteral("cmdSet"));
    Twips::setGeometry(cmdSet, 8400, 5520, 2100, 735);
    const QPixmap setFace(QStringLiteral(":/tamvex/set-normal.jpg"));
    cmdSet->setPicture(setFace);
    cmdSet->setDownPicture(setFace);
    cmdSet->setDisabledPicture(setFace);

    setTabOrder(cmdQuery, cmdSet);
    cmdQuery->setFocus();
    connect(cmdQuery, &QAbstractButton::clicked, this, &FrmIni::cmdQuery_Click);
    connect(cmdSet, &QAbstractButton::clicked, this, &FrmIni::cmdSet_Click);
}

void FrmIni::setLauncher(Launcher l)
{
    launcher() = std::move(l);
}

QString FrmIni::fixedBrowserPath()
{
    return QStringLiteral("C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE");
}

QPixmap FrmIni::backgroundPicture() const
{
    return m_background->pixmap();
}

void FrmIni::setBackgroundPicture(const QPixmap &picture)
{
    m_background->setPixmap(picture);
    m_background->setGeometry(0, 0, picture.width(), picture.height());
    m_background->lower();
}

void FrmIni::Form_Load()
{
    setOuterGeometryTwips(0, 0, 12120, 9015);
    modTamvex::ConnectionString = modTamvex::makeConnectionString(ProgramFolder());
    if (isOrdinaryFile(joinTail(ProgramFolder(), QStringLiteral("/EditMod"))))
        cmdSet->setVisible(true);
    QPixmap picture;
    if (loadPicture(joinTail(ProgramFolder(), QStringLiteral("/index.jpg")), picture))
        setBackgroundPicture(picture);
    applyButtonPicture(cmdQuery, QStringLiteral("/index-logo1.jpg"));
    applyButtonPicture(cmdSet, QStringLiteral("/index-logo2.jpg"));
}

void FrmIni::applyButtonPicture(GraphicalButton *button, const QString &tail)
{
    // Each state picture gets a picture of its own, loaded afresh.
    QPixmap normal;
    if (!loadPicture(joinTail(ProgramFolder(), tail), normal))
        return;
    button->setPicture(normal);
    QPixmap third;
    if (loadPicture(joinTail(ProgramFolder(), tail), third))
        button->setDisabledPicture(third);
}

void FrmIni::cmdQuery_Click()
{
    if (TamvexForm *main = Forms::instance(QStringLiteral("FrmTamvexMain")))
        main->Show();
}

void FrmIni::cmdSet_Click()
{
    const QString logo = joinTail(ProgramFolder(), QStringLiteral("/index-logo2.jpg"));
    if (!isOrdinaryFile(logo))
        return;
    applyButtonPicture(cmdSet, QStringLiteral("/index-logo2.jpg"));
    openDemonstrationPage();
}

void FrmIni::openDemonstrationPage()
{
    const QString page = joinTail(ProgramFolder(), QStringLiteral("/demo/index.htm"));
    bool started = false;
    if (QFileInfo::exists(fixedBrowserPath())) {
        // The command line of Windows installations: path, blank, page; a
        // folder with blanks reaches the browser as several arguments.
        started = launcher()(fixedBrowserPath(), page.split(QLatin1Char(' ')));
    } else {
        const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
        started = launcher()(opener.isEmpty() ? QStringLiteral("xdg-open") : opener, QStringList{page});
    }
    if (!started)
        MessageBox::show(QCoreApplication::translate("FrmIni", "無法開啟示範頁 %1：找不到可用的瀏覽器。請安裝網頁瀏覽器（xdg-open）後再試。").arg(page));
}
