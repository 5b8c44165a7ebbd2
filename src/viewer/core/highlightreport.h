#pragma once

#include "failure.h"
#include "pagemark.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one writing of the highlighted page did. The writer skips a failing
// step and goes on; this says which steps failed, so that a window can fall
// back to the record's own page when the temporary page was not written.
struct HighlightReport {
    QStringList terms;           // the terms the text was cut into
    QString recordPage;          // the page file that was to be read
    bool tmpFolderReady = false; // the tmp folder existed or was created
    bool pageRead = false;       // the page file was read whole (zero bytes counts)
    bool notice = false;         // the page was no page or too large: the temporary page says so instead
    bool tempPageWritten = false; // the temporary page now holds exactly the marked page (or the notice)
    QList<Failure> failures;     // each failed step, in the order of the steps
    QList<PageMark> marks;       // every mark inserted, in document order (none for a notice)
};
