// Generated pages: random bytes mixed with tags, comments, scripts,
// references and Big5 text, marked with terms drawn from the page. Whatever
// the bytes, stripping the marks gives back the page, and the result equals
// a literal term-after-term replacement over the page's units.

#include "big5testing.h"
#include "pagemarker.h"
#include "pagetext.h"

#include <QRandomGenerator>
#include <QTest>

#include <vector>

using namespace Qt::StringLiterals;

namespace {
const QStringList Pieces {
    u"<p>"_s, u"</p>"_s, u"<a href=\"x.htm\" title='發熱'>"_s, u"</a>"_s, u"<br>"_s, u"<!-- 頭痛 -->"_s,
    u"<script>var 頭 = \"熱\";</script>"_s, u"<STYLE>p { color: red }</STYLE>"_s, u"&amp;"_s, u"&#x4E00;"_s,
    u"&nbsp;"_s, u"<"_s, u">"_s, u"&"_s, u" "_s, u"\n"_s, u"<!--"_s, u"-->"_s, u"<title>"_s, u"</title>"_s,
};
const QString Characters = u"發熱而頭痛甚惡寒汗出脈浮緩之一十許功蓋中文abcAB=red"_s;

QByteArray randomBytes(QRandomGenerator &random)
{
    QByteArray bytes(1 + int(random.bounded(4)), Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(random.bounded(256));
    return bytes;
}

QString randomText(QRandomGenerator &random)
{
    QString text;
    for (int k = 1 + int(random.bounded(6)); k > 0; --k)
        text += Characters.at(int(random.bounded(Characters.size())));
    return text;
}

QByteArray randomPage(QRandomGenerator &random, QStringList &texts)
{
    QByteArray page;
    for (int k = int(random.bounded(60)); k > 0; --k) {
        switch (random.bounded(3)) {
        case 0:
            page += randomBytes(random);
            break;
        case 1:
            page += big5(Pieces.at(int(random.bounded(Pieces.size()))));
            break;
        default:
            texts.append(randomText(random));
            page += big5(texts.back());
        }
    }
    return page;
}

// Pieces of the page's texts, now and then a mark-up word or an empty term.
QStringList randomTerms(QRandomGenerator &random, const QStringList &texts)
{
    const QStringList markupWords { u"font"_s, u"red"_s, u"="_s, u"p"_s, u"amp"_s, QString() };
    QStringList terms;
    for (int k = 1 + int(random.bounded(4)); k > 0; --k) {
        if (texts.isEmpty() || random.bounded(4) == 0) {
            terms.append(markupWords.at(int(random.bounded(markupWords.size()))));
            continue;
        }
        const QString &text = texts.at(int(random.bounded(texts.size())));
        const int from = int(random.bounded(text.size()));
        terms.append(text.mid(from, 1 + int(random.bounded(3))));
    }
    return terms;
}

QByteArray stripMarks(QByteArray marked)
{
    marked.replace(QByteArrayView(OpenMark), QByteArrayView());
    marked.replace(QByteArrayView(CloseMark), QByteArrayView());
    return marked;
}

// The page as one string of tokens: its units, and the marks once inserted.
struct Token {
    enum Kind { Unit, Open, Close } kind;
    qsizetype unit;
};

// Replaces the terms one after another over the token string, as a plain
// text replacement would: scan from the left, compare unit values, skip the
// inserted text. Marks never compare equal to a unit.
QByteArray literalMarking(const QByteArray &page, const QStringList &terms)
{
    const PageText text(page);
    std::vector<Token> tokens;
    for (qsizetype u = 0; u < text.size(); ++u)
        tokens.push_back({ Token::Unit, u });
    for (const QString &term : terms) {
        if (term.isEmpty())
            continue;
        const qsizetype length = term.size();
        for (size_t at = 0; at + size_t(length) <= tokens.size();) {
            bool match = true;
            for (qsizetype k = 0; k < length && match; ++k) {
                const Token &token = tokens[at + size_t(k)];
                match = token.kind == Token::Unit && text.value(token.unit) == term.at(k).unicode();
            }
            if (!match) {
                ++at;
                continue;
            }
            tokens.insert(tokens.begin() + qsizetype(at) + length, { Token::Close, 0 });
            tokens.insert(tokens.begin() + qsizetype(at), { Token::Open, 0 });
            at += size_t(length) + 2;
        }
    }
    QByteArray out;
    for (const Token &token : tokens) {
        if (token.kind == Token::Unit)
            out += page.mid(text.unitStart(token.unit), text.unitStart(token.unit + 1) - text.unitStart(token.unit));
        else
            out += token.kind == Token::Open ? OpenMark : CloseMark;
    }
    return out;
}
}

class TestMarkRoundTrip : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void generatedPages();
};

void TestMarkRoundTrip::generatedPages()
{
    int pagesWithMarks = 0;
    for (quint32 seed = 1; seed <= 1500; ++seed) {
        QRandomGenerator random(seed);
        QStringList texts;
        const QByteArray page = randomPage(random, texts);
        if (page.contains(OpenMark) || page.contains(CloseMark))
            continue; // stripping could not tell such a page's own marks apart
        const QStringList terms = randomTerms(random, texts);
        const QByteArray marked = markPage(page, terms);
        const QByteArray context = "seed " + QByteArray::number(seed) + ", terms " + terms.join(u'|').toUtf8();
        QVERIFY2(stripMarks(marked) == page, context.constData());
        QVERIFY2(marked == literalMarking(page, terms), context.constData());
        pagesWithMarks += marked.size() > page.size();
    }
    // The generator must actually exercise the marking.
    QVERIFY(pagesWithMarks > 500);
}

QTEST_APPLESS_MAIN(TestMarkRoundTrip)
#include "test_markroundtrip.moc"
