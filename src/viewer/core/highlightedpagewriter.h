#pragma once

#include "blanks.h"
#include "highlightreport.h"

class VariantTable;

#include <QString>
#include <QStringList>

// Writes the temporary highlighted page for one record page.
// Takes the program folder, the temporary page path, the record's page path
// as stored (relative to the folder) and the terms text. Steps, in order:
// cut the terms; make sure the temporary page's folder exists (programFolder
// + "/tmp", or the work folder that stands in for it); read the page file
// whole (missing, a folder, an empty path or unreadable gives an empty page;
// a FIFO, a device or a file beyond PageSizeLimit is not read, and a short
// notice page saying why takes the marked page's place); mark the terms;
// delete an ordinary file at tempPagePath; create it anew
// empty; write the marked bytes (a file written only in part is removed).
// A failing step is skipped and the next one
// runs; the returned report says which failed. Never throws. With variants,
// each term character also marks the variants the table gives it. The
// report lists every mark inserted (what was inserted, not what was written:
// the marks stand even when the temporary page could not be written).
HighlightReport writeHighlightedPageReport(const QString &programFolder, const QString &tempPagePath,
                                           const QString &pagePath, const QString &termsText,
                                           const VariantTable *variants = nullptr);

// The same steps without the report: returns normally in every case.
void WriteHighlightedPage(const QString &programFolder, const QString &tempPagePath, const QString &pagePath,
                          const QString &termsText);
