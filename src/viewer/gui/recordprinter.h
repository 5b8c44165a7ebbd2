#pragma once

#include "failure.h"

#include <QString>

// The one print job of the main window: on the default printer, without a
// dialog, at 12 points: two empty lines, then one line of text, then the
// end of the document.
namespace RecordPrinter {

// Prints the job. Failure (FailureNumber::NoPrinter) when the system has no
// printer, or when the job cannot be started.
Status printLine(const QString &line);

// Sends every later job into this PDF file instead (empty: the printer
// again). For checking print jobs where no printer exists.
void setPdfOutput(const QString &path);
}
