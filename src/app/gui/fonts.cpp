#include "fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace Fonts {

QFont mingLiU(double pointSize, bool bold)
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString &candidate : {QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC"),
                                         QStringLiteral("AR PL UMing TW"), QStringLiteral("Noto Sans Mono CJK TC")}) {
            if (installed.contains(candidate))
                return candidate;
        }
        return QStringLiteral("Serif");
    }();
    QFont font(family);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

QFont arial(double pointSize)
{
    // Liberation Sans has Arial's metrics, so that text fits as designed.
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString &candidate : {QStringLiteral("Arial"), QStringLiteral("Liberation Sans")}) {
            if (installed.contains(candidate))
                return candidate;
        }
        return QStringLiteral("Arial");
    }();
    QFont font(family);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(pointSize);
    return font;
}
}
