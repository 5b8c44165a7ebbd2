#include "keypreview.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

KeyPreview::KeyPreview(QWidget *window, Handler handler) : QObject(window), m_window(window), m_handler(std::move(handler))
{
    qApp->installEventFilter(this);
}

KeyPreview::~KeyPreview()
{
    qApp->removeEventFilter(this);
}

bool KeyPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    if (widget->window() != m_window)
        return false;
    // A key a control ignores travels on to its parents; preview it once,
    // at the control it was sent to first.
    QWidget *focus = QApplication::focusWidget();
    const bool firstReceiver = focus ? widget == focus : widget == m_window;
    if (!firstReceiver)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    m_handler(key->key(), static_cast<int>(key->modifiers()));
    return false;
}
