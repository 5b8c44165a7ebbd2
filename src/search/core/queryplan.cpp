#include "queryplan.h"

namespace {
const QString kListAll = QStringLiteral("select subject,htm from  maindata order by date desc");
const QString kAllSeed = QStringLiteral("select subject,htm from  maindata where 1=1");
const QString kAnySeed = QStringLiteral("select subject,htm from  maindata where 1=2");
const QString kAllClose = QStringLiteral("order by [date] desc ");

void appendClauses(QueryPlan &plan, const QString &joiner)
{
    const QStringList terms = splitTerms(plan.TermsText);
    plan.clauseCount = 0;
    qsizetype extra = 0;
    for (const QString &term : terms)
        extra += joiner.size() + term.size() + 4;
    plan.SqlText.reserve(plan.SqlText.size() + extra + kAllClose.size());
    for (const QString &term : terms) {
        plan.SqlText += joiner;
        plan.SqlText += term;
        plan.SqlText += QStringLiteral("%' ");
        ++plan.clauseCount;
    }
}
}

QString searchModeText(SearchMode mode)
{
    switch (mode) {
    case SearchMode::ListAll:
        return QStringLiteral("mod1");
    case SearchMode::AllTermsWithMinus:
        return QStringLiteral("mod3");
    case SearchMode::AllTerms:
        return QStringLiteral("mod3a");
    case SearchMode::AnyTerm:
        return QStringLiteral("mod4");
    }
    return QString();
}

QString escapeApostrophes(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\''), QStringLiteral("'&chr(39)&'"));
    return escaped;
}

QueryPlan buildQuery(const QString &trimmedText)
{
    QueryPlan plan;
    const QString escaped = escapeApostrophes(trimmedText);
    if (escaped.isEmpty()) {
        plan.mode = SearchMode::ListAll;
        plan.SqlText = kListAll;
        return plan;
    }
    const QChar first = escaped.at(0);
    if (first == QLatin1Char('+')) {
        plan.mode = SearchMode::AnyTerm;
        plan.TermsText = escaped.mid(1);
        plan.SqlText = kAnySeed;
        appendClauses(plan, QStringLiteral("  or content like '%"));
        return plan;
    }
    plan.mode = first == QLatin1Char('-') ? SearchMode::AllTermsWithMinus : SearchMode::AllTerms;
    plan.TermsText = first == QLatin1Char('-') ? escaped.mid(1) : escaped;
    plan.SqlText = kAllSeed;
    appendClauses(plan, QStringLiteral(" and content like '%"));
    plan.SqlText += kAllClose;
    return plan;
}
