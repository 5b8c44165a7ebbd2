#include "variantquery.h"

QString variantQueryText(const QString &text, const VariantTable &table)
{
    const QList<uint> characters = text.toUcs4();
    QString result;
    result.reserve(text.size() * 3);
    bool inTypedSet = false;
    for (const uint character : characters) {
        if (inTypedSet || character == uint('[')) {
            // A typed set keeps its own meaning ("[!...]", ranges).
            inTypedSet = !(inTypedSet && character == uint(']'));
            result += QString::fromUcs4(reinterpret_cast<const char32_t *>(&character), 1);
            continue;
        }
        const std::u32string members = table.membersOf(char32_t(character));
        if (members.size() == 1) {
            result += QString::fromUcs4(members.data(), 1);
            continue;
        }
        result += QLatin1Char('[');
        result += QString::fromUcs4(members.data(), qsizetype(members.size()));
        result += QLatin1Char(']');
    }
    return result;
}
