#include "twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace Twips {

double perPixel(const QWidget *widget)
{
    const QScreen *screen = widget && widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

int toPixels(double twips, const QWidget *widget)
{
    return static_cast<int>(std::lround(twips / perPixel(widget)));
}

double fromPixels(double pixels, const QWidget *widget)
{
    return pixels * perPixel(widget);
}

void setGeometry(QWidget *widget, double left, double top, double width, double height)
{
    widget->setGeometry(toPixels(left, widget), toPixels(top, widget), toPixels(width, widget),
                        toPixels(height, widget));
}
}
