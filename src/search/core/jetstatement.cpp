#include "jetstatement.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <QStringList>

#include <optional>

namespace {

struct Token {
    enum Kind { Word, Number, String, Quoted, Symbol } kind;
    QString text;
};

Failure syntaxError(const QString &why)
{
    return Failure{FailureNumber::StatementSyntax, QCoreApplication::translate("JetStatement", "Syntax error in query: %1.").arg(why)};
}

bool isWordStart(QChar c) { return c.isLetter() || c == QLatin1Char('_'); }
bool isWordPart(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

Result<std::vector<Token>> tokenize(const QString &s)
{
    std::vector<Token> tokens;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = s.at(i);
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            ++i;
        } else if (c == QLatin1Char('\'')) {
            QString value;
            qsizetype j = i + 1;
            for (;; ++j) {
                if (j >= n)
                    return syntaxError(QCoreApplication::translate("JetStatement", "a string without its closing apostrophe"));
                if (s.at(j) == QLatin1Char('\'')) {
                    if (j + 1 < n && s.at(j + 1) == QLatin1Char('\'')) {
                        value += QLatin1Char('\'');
                        ++j;
                        continue;
                    }
                    break;
                }
                value += s.at(j);
            }
            tokens.push_back({Token::String, value});
            i = j + 1;
        } else if (c == QLatin1Char('[')) {
            const qsizetype close = s.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return syntaxError(QCoreApplication::translate("JetStatement", "a \"[\" name without its \"]\""));
            tokens.push_back({Token::Quoted, s.mid(i + 1, close - i - 1)});
            i = close + 1;
        } else if (c.isDigit()) {
            qsizetype j = i;
            while (j < n && (s.at(j).isDigit() || s.at(j) == QLatin1Char('.')))
                ++j;
            tokens.push_back({Token::Number, s.mid(i, j - i)});
            i = j;
        } else if (isWordStart(c)) {
            qsizetype j = i;
            while (j < n && isWordPart(s.at(j)))
                ++j;
            tokens.push_back({Token::Word, s.mid(i, j - i)});
            i = j;
        } else {
            const QString two = s.mid(i, 2);
            const bool pair = two == QLatin1String("<>") || two == QLatin1String("<=") || two == QLatin1String(">=");
            tokens.push_back({Token::Symbol, pair ? two : QString(c)});
            i += pair ? 2 : 1;
        }
    }
    return tokens;
}

bool isWord(const Token &t, QLatin1String word)
{
    return t.kind == Token::Word && t.text.compare(word, Qt::CaseInsensitive) == 0;
}
bool isSymbol(const Token &t, char c) { return t.kind == Token::Symbol && t.text == QLatin1Char(c); }

// At tokens[i]: a string literal or chr(number). Returns its value and moves i.
Result<std::optional<QString>> constantAt(const std::vector<Token> &t, std::size_t &i)
{
    if (i < t.size() && t[i].kind == Token::String)
        return std::optional<QString>(t[i++].text);
    if (i + 3 < t.size() && isWord(t[i], QLatin1String("chr")) && isSymbol(t[i + 1], '(')
        && t[i + 2].kind == Token::Number && isSymbol(t[i + 3], ')')) {
        bool ok = false;
        const int code = t[i + 2].text.toInt(&ok);
        if (!ok || code < 0 || code > 0xFFFF)
            return Failure{5, QCoreApplication::translate("JetStatement", "Invalid procedure call or argument: chr(%1).")
                                  .arg(t[i + 2].text)};
        i += 4;
        return std::optional<QString>(QString(QChar(static_cast<char16_t>(code))));
    }
    return std::optional<QString>();
}

// Folds "'a' & chr(39) & 'b'" runs into one String token.
Result<std::vector<Token>> foldConstants(const std::vector<Token> &t)
{
    std::vector<Token> out;
    for (std::size_t i = 0; i < t.size();) {
        std::size_t j = i;
        auto first = constantAt(t, j);
        if (!first.ok())
            return first.failure();
        if (!first.value()) {
            out.push_back(t[i++]);
            continue;
        }
        QString value = *first.value();
        while (j + 1 < t.size() && isSymbol(t[j], '&')) {
            std::size_t k = j + 1;
            auto next = constantAt(t, k);
            if (!next.ok())
                return next.failure();
            if (!next.value())
                break;
            value += *next.value();
            j = k;
        }
        out.push_back({Token::String, value});
        i = j;
    }
    return out;
}

QString sqliteText(const Token &t)
{
    switch (t.kind) {
    case Token::String:
        return QLatin1Char('\'') + QString(t.text).replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    case Token::Quoted:
        return QLatin1Char('"') + QString(t.text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    case Token::Symbol:
        return t.text == QLatin1String("&") ? QStringLiteral("||") : t.text;
    default:
        return t.text;
    }
}

struct Where {
    std::size_t begin = 0, end = 0; // token range of the condition
};

std::optional<Where> findWhere(const std::vector<Token> &t)
{
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!isWord(t[i], QLatin1String("where")))
            continue;
        std::size_t j = i + 1;
        int depth = 0;
        for (; j < t.size(); ++j) {
            depth += isSymbol(t[j], '(') ? 1 : isSymbol(t[j], ')') ? -1 : 0;
            if (depth == 0 && (isWord(t[j], QLatin1String("order")) || isWord(t[j], QLatin1String("group"))))
                break;
        }
        return Where{i + 1, j};
    }
    return std::nullopt;
}

bool isLikeClause(const std::vector<Token> &t, std::size_t b, std::size_t e)
{
    return e - b == 3 && isWord(t[b], QLatin1String("content")) && isWord(t[b + 1], QLatin1String("like"))
        && t[b + 2].kind == Token::String;
}

QString joinTokens(const std::vector<Token> &t, std::size_t b, std::size_t e)
{
    QStringList parts;
    for (std::size_t i = b; i < e; ++i)
        parts << sqliteText(t[i]);
    return parts.join(QLatin1Char(' '));
}

// True for "<number> = <number>", a constant: value tells which.
bool isConstantTest(const std::vector<Token> &t, std::size_t b, std::size_t e, bool &value)
{
    if (e - b != 3 || t[b].kind != Token::Number || !isSymbol(t[b + 1], '=') || t[b + 2].kind != Token::Number)
        return false;
    value = t[b].text.toDouble() == t[b + 2].text.toDouble();
    return true;
}

// The matcher call of a group.
QString matcherCall(const PatternGroup &group, const JetStatement &out)
{
    const QString fn = group.all ? QStringLiteral("tamvex_like_all") : QStringLiteral("tamvex_like_any");
    return QStringLiteral("%1(content, ?%2)").arg(fn).arg(out.groups.size());
}

// Rewrites a flat and/or chain of like clauses into one matcher call.
// Sets groupOnly when the chain holds nothing but like clauses and
// neutral constants ("1=1" in "and", "1=2" in "or").
Result<QString> rewriteWhere(const std::vector<Token> &t, Where w, JetStatement &out, bool &groupOnly)
{
    std::vector<std::pair<std::size_t, std::size_t>> members;
    std::optional<bool> allOp;
    std::size_t start = w.begin;
    int depth = 0;
    for (std::size_t i = w.begin; i < w.end; ++i) {
        depth += isSymbol(t[i], '(') ? 1 : isSymbol(t[i], ')') ? -1 : 0;
        const bool isAnd = isWord(t[i], QLatin1String("and"));
        if (depth != 0 || (!isAnd && !isWord(t[i], QLatin1String("or"))))
            continue;
        if (allOp && *allOp != isAnd) {
            groupOnly = false;
            return joinTokens(t, w.begin, w.end); // mixed chain: leave as written
        }
        allOp = isAnd;
        members.emplace_back(start, i);
        start = i + 1;
    }
    members.emplace_back(start, w.end);
    auto group = std::make_shared<PatternGroup>();
    group->all = allOp.value_or(true);
    out.allChain = group->all;
    QStringList parts;
    groupOnly = true;
    for (const auto &[b, e] : members) {
        if (!isLikeClause(t, b, e)) {
            bool value = false;
            groupOnly = groupOnly && isConstantTest(t, b, e, value) && value == group->all;
            parts << QLatin1Char('(') + joinTokens(t, b, e) + QLatin1Char(')');
            continue;
        }
        auto pattern = LikePattern::compile(t[b + 2].text);
        if (!pattern.ok())
            return pattern.failure();
        group->patterns.push_back(std::move(pattern).value());
    }
    if (!group->patterns.empty()) {
        out.groups.push_back(group);
        parts << matcherCall(*group, out);
    }
    return parts.join(group->all ? QStringLiteral(" and ") : QStringLiteral(" or "));
}

// True when tokens [b, e) are "select subject, htm from maindata".
bool selectsTheList(const std::vector<Token> &t, std::size_t e)
{
    return e == 6 && isWord(t[0], QLatin1String("select")) && isWord(t[1], QLatin1String("subject"))
        && isSymbol(t[2], ',') && isWord(t[3], QLatin1String("htm")) && isWord(t[4], QLatin1String("from"))
        && isWord(t[5], QLatin1String("maindata"));
}

bool namesDate(const Token &t)
{
    return (t.kind == Token::Word || t.kind == Token::Quoted) && t.text.compare(QLatin1String("date"), Qt::CaseInsensitive) == 0;
}

// True when the statement closes with "order by date [asc|desc]" from
// token `order` on (bare or bracketed date); desc tells the direction.
bool closesWithDateOrder(const std::vector<Token> &t, std::size_t order, bool &desc)
{
    const std::size_t n = t.size();
    if (n < order + 3 || !isWord(t[order], QLatin1String("order")) || !isWord(t[order + 1], QLatin1String("by"))
        || !namesDate(t[order + 2]))
        return false;
    desc = n == order + 4 && isWord(t[order + 3], QLatin1String("desc"));
    return n == order + 3 || desc || (n == order + 4 && isWord(t[order + 3], QLatin1String("asc")));
}

std::size_t orderAt(const std::vector<Token> &t, std::size_t from)
{
    for (std::size_t i = from; i < t.size(); ++i)
        if (isWord(t[i], QLatin1String("order")))
            return i;
    return t.size();
}

CatalogueForm catalogueForm(const std::vector<Token> &t, const std::optional<Where> &where, const JetStatement &out,
                            bool groupOnly, bool dateOrder, bool desc, std::size_t order)
{
    CatalogueForm form;
    const std::size_t listEnd = where ? where->begin - 1 : order;
    form.fits = selectsTheList(t, listEnd) && groupOnly && (dateOrder ? desc : order == t.size())
        && out.groups.size() <= 1;
    form.order = dateOrder ? RowOrder::DateDescending : RowOrder::RowId;
    if (out.groups.empty())
        form.filter = !where || out.allChain ? CatalogueForm::Everything : CatalogueForm::Nothing;
    else
        form.filter = CatalogueForm::Group;
    return form;
}
}

Result<JetStatement> translateJetStatement(const QString &statement)
{
    auto tokens = tokenize(statement);
    if (!tokens.ok())
        return tokens.failure();
    auto folded = foldConstants(tokens.value());
    if (!folded.ok())
        return folded.failure();
    const std::vector<Token> &t = folded.value();
    JetStatement out;
    QString sql;
    const std::optional<Where> where = findWhere(t);
    bool groupOnly = true;
    if (!where) {
        sql = joinTokens(t, 0, t.size());
    } else {
        auto condition = rewriteWhere(t, *where, out, groupOnly);
        if (!condition.ok())
            return condition.failure();
        sql = joinTokens(t, 0, where->begin) + QLatin1Char(' ') + condition.value() + QLatin1Char(' ')
            + joinTokens(t, where->end, t.size());
    }
    // Rows with equal dates come in row id order whatever plan SQLite
    // chooses (an index on date would otherwise reverse them).
    const std::size_t order = orderAt(t, where ? where->end : 0);
    bool desc = false;
    const bool dateOrder = closesWithDateOrder(t, order, desc);
    out.tieBreakByRowid = dateOrder;
    out.catalogue = catalogueForm(t, where, out, groupOnly, dateOrder, desc, order);
    out.orderByRowid = out.catalogue.fits && out.catalogue.order == RowOrder::RowId;
    out.sql = QStringEncoder(QStringEncoder::Utf8)(sql);
    return out;
}
