#include "variantmarking.h"

#include "pagemarker.h"

TermSets variantTermSets(const QString &term, const VariantTable &table)
{
    TermSets sets;
    for (const uint character : term.toUcs4()) {
        std::u16string units;
        for (const char32_t member : table.membersOf(char32_t(character))) {
            if (member <= 0xFFFF && member != 0xFFFD && !(member >= 0xD800 && member <= 0xDFFF))
                units.push_back(char16_t(member));
        }
        if (units.empty())
            return {};
        sets.push_back(std::move(units));
    }
    return sets;
}

QByteArray markPageVariants(QByteArrayView page, const QStringList &terms, const VariantTable &table,
                            QList<PageMark> *marks)
{
    QList<TermSets> sets;
    sets.reserve(terms.size());
    for (const QString &term : terms)
        sets.append(variantTermSets(term, table));
    return markPage(page, sets, marks);
}
