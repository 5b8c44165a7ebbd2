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
    move(Twips::toPixels(left, this), Twips::toPixels(top, this));
    const QSize outer(qMax(1, Twips::toPixels(width, this)), qMax(1, Twips::toPixels(height, this)));
    resize(outer);
    m_pendingOuterSize = outer;
    applyPendingOuterSize();
}

void TamvexForm::applyPendingOuterSize()
{
    // Without a window manager there is never a frame; the size is then the
    // outer size already.
    if (m_pendingOuterSize.isEmpty() || !isWindow() || !isVisible())
        return;
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.width() <= 0 && frame.height() <= 0)
        return;
    const QSize outer = m_pendingOuterSize;
    m_pendingOuterSize = QSize();
    resize(qMax(1, outer.width() - frame.width()), qMax(1, outer.height() - frame.height()));
}

void TamvexForm::setBackgroundColour(const QColor &colour)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colour);
    setPalette(colours);
    setAutoFillBackground(true);
}

bool TamvexForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::WindowActivate:
    case QEvent::Expose:
        applyPendingOuterSize();
        break;
    case QEvent::Hide:
        m_pendingOuterSize = QSize();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

void TamvexForm::closeEvent(QCloseEvent *event)
{
    event->accept();
    Unload();
}
