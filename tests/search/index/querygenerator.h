#pragma once

// Query box texts for the term index tests: terms cut from the rows and
// made up, with "%", "_", sets, negated sets, case variants, empty terms,
// apostrophes and unreadable patterns, in the three modes and list-all.
// One- and two-character terms (answered by the postings alone) come as
// often as longer ones and wildcard patterns (whose candidates are
// confirmed on the content), and a query mixes both kinds.

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

class QueryGenerator {
public:
    QueryGenerator(const QStringList &contents, const QStringList &alphabet, quint32 seed)
        : m_contents(contents), m_alphabet(alphabet), m_random(seed)
    {
    }

    // One query box text, already without blanks at its ends: empty (the
    // list of all records), "-" or "+" alone, or up to four terms.
    QString next()
    {
        const int termCount = int(m_random.bounded(5));
        const int mode = int(m_random.bounded(3));
        if (termCount == 0 && mode == 0)
            return {};
        QStringList terms;
        for (int t = 0; t < termCount; ++t)
            terms << term();
        const QString prefix = mode == 1 ? u"-"_qs : mode == 2 ? u"+"_qs : QString();
        QString text = prefix + terms.join(QLatin1Char(' '));
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        while (text.startsWith(QLatin1Char(' ')))
            text.remove(0, 1);
        return text;
    }

private:
    int below(int n) { return n <= 0 ? 0 : int(m_random.bounded(n)); }

    QString piece() { return m_alphabet.at(below(int(m_alphabet.size()))); }

    QString cutFromRows(int length)
    {
        for (int tries = 0; tries < 20; ++tries) {
            const QString &row = m_contents.at(below(int(m_contents.size())));
            if (row.isEmpty())
                continue;
            return row.mid(below(int(row.size())), length);
        }
        return piece();
    }

    QString set()
    {
        QString inside = below(3) == 0 ? u"!"_qs : QString();
        inside += below(3) == 0 ? u"a-c"_qs : piece();
        if (below(2))
            inside += piece();
        return QLatin1Char('[') + inside + QLatin1Char(']');
    }

    QString insertAt(QString text, const QString &what)
    {
        text.insert(below(int(text.size()) + 1), what);
        return text;
    }

    QString term()
    {
        const QString base = cutFromRows(1 + below(4));
        switch (below(16)) {
        case 0: return base.toUpper();
        case 1: return base.toLower();
        case 2: { QString text; for (int i = 0, n = 1 + below(3); i < n; ++i) text += piece(); return text; }
        case 3: return insertAt(base, u"%"_qs);
        case 4: return insertAt(base, u"_"_qs);
        case 5: return insertAt(base, set());
        case 6: return QString();
        case 7: return insertAt(base, u"'"_qs);
        case 8: return below(4) == 0 ? insertAt(base, u"[c-a]"_qs) : insertAt(base, u"[]"_qs);
        case 9: return below(5) == 0 ? insertAt(base, u"["_qs) : u"_"_qs + base;
        case 10: return cutFromRows(1);
        case 11: return cutFromRows(2);
        case 12: return piece().left(2);
        case 13: return cutFromRows(3 + below(6));
        case 14: return below(2) ? cutFromRows(2).toUpper() : cutFromRows(1).toLower();
        default: return base;
        }
    }

    QStringList m_contents;
    QStringList m_alphabet;
    QRandomGenerator m_random;
};
