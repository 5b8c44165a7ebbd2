#include "editorlook.h"

#include <QApplication>
#include <QFontDatabase>

namespace EditorLook {

QString fontFamily()
{
    static const QString found = [] {
        const QStringList installed = QFontDatabase::families();
        for (const QString &family : {QStringLiteral(u"新細明體"), QStringLiteral("PMingLiU"),
                                      QStringLiteral("Noto Serif CJK TC"), QStringLiteral("Noto Sans CJK TC")}) {
            if (installed.contains(family, Qt::CaseInsensitive))
                return family;
        }
        return QApplication::font().family();
    }();
    return found;
}

QFont font(double pointSize)
{
    QFont f(fontFamily());
    f.setPointSizeF(pointSize);
    f.setWeight(QFont::Normal);
    return f;
}

QColor windowColour(const QPalette &palette)
{
    return palette.color(QPalette::Inactive, QPalette::Button);
}

QColor listColour(const QPalette &palette)
{
    return palette.color(QPalette::Active, QPalette::Base);
}
}
