#pragma once

#include <QFont>

// Fonts of the windows. "新細明體" (a Ming serif face) is not on Linux; it
// maps to an installed Traditional Chinese serif face at the same size;
// "Arial", where it is missing, to the metric-compatible Liberation Sans.
namespace Fonts {
QFont mingLiU(double pointSize, bool bold = false);
QFont arial(double pointSize);
}
