#include "tamvexform.h"

#include "forms.h"
#include "twips.h"

#include <QCloseEvent>
#include "resources.h"

#include <QIcon>

TamvexForm::TamvexForm(const QString &formName, QWidget *parent) : QWidget(parent), m_formName(formName)
{
    initTamvexResources();
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowIcon(QIcon(QStringLiteral(":/tamvex/icon.png")));
}

TamvexForm::~TamvexForm()
{
    if (m_loaded)
        Forms::noteUnloaded(this);
}

void TamvexForm::Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    Forms::noteLoaded(this);
    Form_Load();
}

void TamvexForm::Show()
{
    Load();
    if (!m_loaded)
        return;
    show();
    raise();
    activateWindow();
}

void TamvexForm::Hide()
{
    Load();
    hide();
}

void TamvexForm::Unload()
{
    if (!m_loaded || m_unloading)
        return;
    m_unloading = true;
    Form_Unload();
    hide();
    m_loaded = false;
    Forms::noteUnloaded(this);
    deleteLater();
}

void TamvexForm::setOuterGeometryTwips(double left, double top, double width, double height)
{
    // Without a window manager (or before the first show) there is no frame;
    // otherwise the frame's share is taken off so that the outer size fits.
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    const int extraW = isWindow() && isVisible() ? frame.width() - inner.width() : 0;
    const int extraH = isWindow() && isVisible() ? frame.height() - inner.height() : 0;
    move(Twips::toPixels(left, this), Twips::toPixels(top, this));
    resize(qMax(1, Twips::toPixels(width, this) - extraW), qMax(1, Twips::toPixels(height, this) - extraH));
}

void TamvexForm::closeEvent(QCloseEvent *event)
{
    event->accept();
    Unload();
}
