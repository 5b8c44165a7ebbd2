#include "jetreaderreason.h"

#include "jetwireformat.h"

#include <QCoreApplication>
#include <QList>

namespace {

struct Wording {
    const char *code;
    const char *text; // a source text of the JetReader context
};

// The child writes codes only, so that it needs no translations of its own.
constexpr Wording Wordings[] = {
    {JetWire::Reason::NotJet, QT_TRANSLATE_NOOP("JetReader", "the file cannot be opened as a Jet database")},
    {JetWire::Reason::UnknownCodePage, QT_TRANSLATE_NOOP("JetReader", "the file's code page %1 is not known to this system")},
    {JetWire::Reason::NoCatalogue,
     QT_TRANSLATE_NOOP("JetReader", "the file's table catalogue cannot be read; the file is damaged or not a Jet database")},
    {JetWire::Reason::NoTable, QT_TRANSLATE_NOOP("JetReader", "the file holds no table maindata")},
    {JetWire::Reason::NoTableDefinition,
     QT_TRANSLATE_NOOP("JetReader", "the definition of table maindata cannot be read; the file is damaged")},
    {JetWire::Reason::NoColumn, QT_TRANSLATE_NOOP("JetReader", "table maindata has no column %1")},
    {JetWire::Reason::RowLost, QT_TRANSLATE_NOOP("JetReader", "row %1 of table maindata cannot be located again")},
    {JetWire::Reason::RowUnreadable, QT_TRANSLATE_NOOP("JetReader", "row %1 of table maindata cannot be read")},
    {JetWire::Reason::MemoHeader, QT_TRANSLATE_NOOP("JetReader", "row %1 of table maindata, column %2 has a damaged memo header")},
    {JetWire::Reason::MemoDamaged,
     QT_TRANSLATE_NOOP("JetReader",
                       "row %1 of table maindata, column %2: its memo value is damaged (%3 bytes read, %4 declared); the file is damaged")},
};

// Puts the arguments in for %1..%9 in one pass, so that an argument holding
// a "%2" of its own (a column name) is left as it is.
QString withArguments(const QString &pattern, const QList<QString> &arguments)
{
    QString out;
    out.reserve(pattern.size());
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern.at(i);
        if (c == u'%' && i + 1 < pattern.size() && pattern.at(i + 1) >= u'1' && pattern.at(i + 1) <= u'9') {
            const qsizetype n = pattern.at(i + 1).unicode() - u'1';
            if (n < arguments.size()) {
                out += arguments.at(n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}
}

QString jetReaderReasonText(QByteArrayView record)
{
    const QList<QString> parts = QString::fromUtf8(record).split(QLatin1Char(JetWire::ArgumentSeparator));
    const QByteArray code = parts.first().toUtf8();
    for (const Wording &wording : Wordings) {
        if (code == wording.code)
            return withArguments(QCoreApplication::translate("JetReader", wording.text), parts.mid(1));
    }
    return parts.join(u' ');
}
