#pragma once

#include "failure.h"

#include <QByteArray>
#include <QString>

// Condition files are Big5 text (code page 950) with CR LF line ends. In the
// text box a line end is "\n" (or the paragraph separator U+2029 the text
// document uses between its blocks); a lone LF, which belongs inside its
// line, is carried as the line separator U+2028, so that it survives the
// round trip through the box and is written back as a lone LF.
namespace ConditionText {

// Takes a condition file's bytes; returns the text for the text box. A line
// ends at CR or at CR LF and becomes "\n"; a lone LF becomes U+2028; a file
// without a final line end gives a text without a final "\n"; an empty file
// gives an empty text. Fails (FailureNumber::BadCharacter, naming the line
// and the bytes) when any byte sequence does not decode to a character that
// can be saved again, so that nothing is replaced silently. A character that
// code page 950 codes twice loads from either code.
Result<QString> fromFileBytes(const QByteArray &bytes);

// Takes the text box's text; returns the file's bytes. Every line end
// ("\n", U+2029, "\r\n" or a lone "\r") is written as CR LF, U+2028 as LF;
// nothing is appended. Fails (FailureNumber::BadCharacter, naming the
// character, its line and its column) when a character has no code page 950
// form that decodes back to it.
Result<QByteArray> toFileBytes(const QString &text);
}
