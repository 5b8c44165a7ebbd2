#pragma once

#include <QByteArrayView>
#include <QString>

// Words the reason of a reader child's failure record (a reason code and its
// arguments, jetwireformat.h) in the reader's language. A text of a code not
// known here is shown as it stands, the separators as blanks.
QString jetReaderReasonText(QByteArrayView record);
