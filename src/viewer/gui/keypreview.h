#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Shows a window every key pressed in any of its controls before the
// focused control gets it; the key then goes on to that control as usual.
class KeyPreview : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int key, int modifiers)>;
    KeyPreview(QWidget *window, Handler handler);
    ~KeyPreview() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
    Handler m_handler;
};
