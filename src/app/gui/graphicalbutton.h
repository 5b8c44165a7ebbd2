#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A command button in graphical style: it shows a picture instead of text.
// It holds three state pictures in a fixed order: the normal picture, the
// second (shown while pressed) and the third (shown while disabled). A
// picture larger than the button is scaled down to fit, keeping its shape.
// An optional key colour is drawn transparent.
class GraphicalButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit GraphicalButton(QWidget *parent = nullptr);

    void setPicture(const QPixmap &picture);
    void setDownPicture(const QPixmap &picture);
    void setDisabledPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }
    const QPixmap &downPicture() const { return m_down; }
    const QPixmap &disabledPicture() const { return m_disabled; }

    // Pixels of this colour in the pictures set afterwards become transparent.
    void setMaskColor(const QColor &color);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap keyed(const QPixmap &picture) const;

    QPixmap m_picture;
    QPixmap m_down;
    QPixmap m_disabled;
    QColor m_mask;
};
