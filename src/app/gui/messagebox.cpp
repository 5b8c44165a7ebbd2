#include "messagebox.h"

#include "modtamvex.h"

#include <QMessageBox>

namespace {
MessageBox::Observer &observer()
{
    static MessageBox::Observer current;
    return current;
}
}

namespace MessageBox {

void show(const QString &prompt, const QString &caption)
{
    const QString title = caption.isEmpty() ? productLabel() : caption;
    if (observer()) {
        observer()(prompt, title);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok);
    box.exec();
}

void showFailure(const Failure &failure)
{
    show(failureReport(failure));
}

void setObserver(Observer o)
{
    observer() = std::move(o);
}
}
