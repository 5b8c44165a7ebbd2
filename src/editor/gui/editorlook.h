#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// The editor's fonts and colours on this desktop. The window was drawn in
// the Ming typeface 新細明體; where that is not installed an installed
// Traditional Chinese Ming (serif) face takes its place, then a sans face.
namespace EditorLook {

// The first installed family of 新細明體, PMingLiU, Noto Serif CJK TC,
// Noto Sans CJK TC; the application's default family when none is.
QString fontFamily();

// Regular weight at the point size (sizes such as 11.25 are kept).
QFont font(double pointSize);

// The window's and the frame's background. The desktop the window was drawn
// on gave the text of inactive title bars the grey of button faces, so the
// button face of the inactive colour group stands for it.
QColor windowColour(const QPalette &palette);

// The background of the lists and the text box: the light edge of buttons
// was white there, which the base colour (paired with the text colour) is.
QColor listColour(const QPalette &palette);
}
