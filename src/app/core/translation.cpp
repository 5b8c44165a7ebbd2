#include "translation.h"

#include <QCoreApplication>
#include <QTranslator>

namespace Translation {

bool install(const QLocale &locale)
{
    static QTranslator *current = nullptr;
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
        current = nullptr;
    }
    const bool english = locale.language() == QLocale::English;
    auto *translator = new QTranslator;
    if (!translator->load(english ? QStringLiteral(":/i18n/tamvex_en.qm") : QStringLiteral(":/i18n/tamvex_zh_TW.qm"))) {
        delete translator;
        return false;
    }
    current = translator;
    return QCoreApplication::installTranslator(translator);
}
}
