#include "graphicalbutton.h"

#include <QBitmap>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

GraphicalButton::GraphicalButton(QWidget *parent) : QAbstractButton(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

QPixmap GraphicalButton::keyed(const QPixmap &picture) const
{
    if (!m_mask.isValid() || picture.isNull())
        return picture;
    QPixmap copy = picture;
    copy.setMask(picture.createMaskFromColor(m_mask, Qt::MaskInColor));
    return copy;
}

void GraphicalButton::setPicture(const QPixmap &picture)
{
    m_picture = keyed(picture);
    update();
}

void GraphicalButton::setDownPicture(const QPixmap &picture)
{
    m_down = keyed(picture);
    update();
}

void GraphicalButton::setDisabledPicture(const QPixmap &picture)
{
    m_disabled = keyed(picture);
    update();
}

void GraphicalButton::setMaskColor(const QColor &color)
{
    m_mask = color;
}

QSize GraphicalButton::sizeHint() const
{
    return m_picture.isNull() ? QSize(80, 30) : m_picture.size();
}

void GraphicalButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QPixmap &shown = !isEnabled() && !m_disabled.isNull() ? m_disabled
        : isDown() && !m_down.isNull()                          ? m_down
                                                                : m_picture;
    if (!shown.isNull()) {
        QSize size = shown.size();
        if (size.width() > width() || size.height() > height())
            size.scale(this->size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(target, shown);
    }
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(2, 2, -2, -2);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}
