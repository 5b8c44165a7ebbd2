#pragma once

class QWidget;

// Positions and sizes of windows and controls are given in twips (1/1440
// inch). At 96 dots per inch that is 15 twips to a pixel; other screens use
// their own logical resolution.
namespace Twips {

// Twips per pixel on the screen of the widget (or the primary screen).
double perPixel(const QWidget *widget = nullptr);

int toPixels(double twips, const QWidget *widget = nullptr);
double fromPixels(double pixels, const QWidget *widget = nullptr);

// Places a widget inside its parent, all four values in twips.
void setGeometry(QWidget *widget, double left, double top, double width, double height);
}
