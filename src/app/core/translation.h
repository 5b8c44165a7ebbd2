#pragma once

#include <QLocale>

// The program's own messages in the reader's language: Traditional Chinese,
// or English for an English locale. Both programs call this once, after
// making their application object; texts that the installation or the
// program's design fixes (captions, the no-result message, list entries)
// are not translated.
namespace Translation {
// Takes the reader's locale; returns false when the translation could not be
// loaded (the messages then stay as written in the code).
bool install(const QLocale &locale = QLocale::system());
}
