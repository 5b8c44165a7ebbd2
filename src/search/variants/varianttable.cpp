#include "varianttable.h"

#include <QCoreApplication>
#include <QFile>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <utility>

namespace {
using Neighbours = QHash<char32_t, QSet<char32_t>>;

struct Entries {
    Neighbours neighbours;         // symmetric: who finds whom directly
    Neighbours links;              // outside form -> the forms it also takes the neighbours of
    QList<std::pair<char32_t, char32_t>> splits;
};

void connect(Neighbours &graph, char32_t a, char32_t b)
{
    if (a == b)
        return;
    graph[a].insert(b);
    graph[b].insert(a);
}

void readLine(QStringView line, Entries &entries)
{
    qsizetype end = 0;
    while (end < line.size() && line[end] != QLatin1Char(' ') && line[end] != QLatin1Char('\t'))
        ++end;
    const QStringView entry = line.first(end);
    if (entry.isEmpty() || entry.startsWith(QLatin1Char('#')))
        return;
    const QList<uint> characters = entry.toUcs4();
    if (characters.front() == uint('-')) {
        for (qsizetype i = 2; i < characters.size(); ++i)
            entries.splits.append({ characters[1], characters[i] });
        return;
    }
    const qsizetype arrow = characters.indexOf(uint('>'));
    if (arrow == 1) {
        for (qsizetype i = 2; i < characters.size(); ++i) {
            connect(entries.neighbours, characters[0], characters[i]);
            if (characters[0] != characters[i])
                entries.links[characters[0]].insert(characters[i]);
        }
        return;
    }
    if (arrow != -1)
        return; // neither a group nor a link: "ab>c" joins nothing
    for (qsizetype i = 0; i < characters.size(); ++i)
        for (qsizetype k = i + 1; k < characters.size(); ++k)
            connect(entries.neighbours, characters[i], characters[k]);
}

void cut(Neighbours &graph, char32_t a, char32_t b)
{
    if (auto it = graph.find(a); it != graph.end())
        it->remove(b);
    if (auto it = graph.find(b); it != graph.end())
        it->remove(a);
}

Result<QString> readUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Failure { FailureNumber::FileIo,
                         QCoreApplication::translate("VariantTable", "Cannot open the variant table: %1").arg(path) };
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return Failure { FailureNumber::FileIo,
                         QCoreApplication::translate("VariantTable", "Cannot read the variant table: %1").arg(path) };
    QStringDecoder decoder(QStringDecoder::Utf8);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return Failure { FailureNumber::BadCharacter,
                         QCoreApplication::translate("VariantTable", "The variant table is not UTF-8: %1").arg(path) };
    return text;
}
}

VariantTable VariantTable::fromTexts(const QStringList &texts)
{
    Entries entries;
    for (const QString &text : texts)
        for (const QStringView line : QStringView(text).split(QLatin1Char('\n')))
            readLine(line.trimmed(), entries);
    for (const auto &[a, b] : std::as_const(entries.splits)) {
        cut(entries.neighbours, a, b);
        cut(entries.links, a, b);
    }
    QSet<std::pair<char32_t, char32_t>> split;
    for (const auto &[a, b] : std::as_const(entries.splits)) {
        split.insert({ a, b });
        split.insert({ b, a });
    }
    VariantTable table;
    for (auto it = entries.neighbours.cbegin(); it != entries.neighbours.cend(); ++it) {
        const char32_t c = it.key();
        QSet<char32_t> found = it.value();
        for (const char32_t target : entries.links.value(c))
            found.unite(entries.neighbours.value(target));
        found.remove(c);
        std::u32string others;
        for (const char32_t other : std::as_const(found))
            if (!split.contains({ c, other }))
                others.push_back(other);
        if (others.empty())
            continue;
        std::sort(others.begin(), others.end());
        table.m_members.insert(c, std::u32string(1, c) + others);
    }
    return table;
}

Result<VariantTable> VariantTable::load(const QString &programFolder)
{
    const Result<QString> generated = readUtf8(programFolder + QLatin1Char('/') + QLatin1String(TableFile));
    if (!generated)
        return generated.failure();
    QStringList texts { generated.value() };
    const QString editsPath = programFolder + QLatin1Char('/') + QLatin1String(EditsFile);
    if (QFile::exists(editsPath)) {
        const Result<QString> edits = readUtf8(editsPath);
        if (!edits)
            return edits.failure();
        texts.append(edits.value());
    }
    return fromTexts(texts);
}

std::u32string VariantTable::membersOf(char32_t c) const
{
    const auto it = m_members.constFind(c);
    return it == m_members.constEnd() ? std::u32string(1, c) : *it;
}
