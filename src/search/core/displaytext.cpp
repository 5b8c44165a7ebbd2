#include "displaytext.h"

QString cutForDisplay(const QString &text, qsizetype maxCharacters)
{
    if (text.size() <= maxCharacters)
        return text;
    qsizetype keep = qMax<qsizetype>(0, maxCharacters);
    if (keep > 0 && text.at(keep - 1).isHighSurrogate())
        --keep;
    return text.left(keep) + QChar(0x2026);
}
