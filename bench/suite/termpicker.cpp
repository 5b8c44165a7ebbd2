#include "termpicker.h"

namespace {

bool isHan(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

bool keyIsHan(TextKeys::Key key, bool pair)
{
    const bool isPair = (key >> 42) != 0;
    if (isPair != pair)
        return false;
    const char32_t low = char32_t(key & 0x1FFFFF);
    return isHan(low) && (!pair || isHan(char32_t((key >> 21) & 0x1FFFFF)));
}

QString keyText(TextKeys::Key key)
{
    QString text;
    if (key >> 42)
        text += QString::fromUcs4(std::array<char32_t, 1>{char32_t((key >> 21) & 0x1FFFFF)}.data(), 1);
    text += QString::fromUcs4(std::array<char32_t, 1>{char32_t(key & 0x1FFFFF)}.data(), 1);
    return text;
}
}

namespace TermPicker {

QString mostFrequent(const PostingTable &table, bool pair)
{
    std::size_t best = 0, bestSize = 0;
    for (std::size_t i = 0; i < table.keyCount(); ++i)
        if (keyIsHan(table.keys()[i], pair) && table.byteSize(i) > bestSize)
            best = i, bestSize = table.byteSize(i);
    return keyText(table.keys()[best]);
}

QString rare(const PostingTable &table, bool pair, std::size_t rows)
{
    // Postings of far-apart rows take two to three bytes a row.
    const std::size_t target = rows * 5 / 2;
    std::size_t best = 0, bestDistance = SIZE_MAX;
    for (std::size_t i = 3; i < table.keyCount(); i += 7) {
        if (!keyIsHan(table.keys()[i], pair))
            continue;
        const std::size_t size = table.byteSize(i);
        const std::size_t distance = size > target ? size - target : target - size;
        if (distance < bestDistance)
            best = i, bestDistance = distance;
    }
    return keyText(table.keys()[best]);
}

QString phrase(const QString &content, qsizetype at, int length)
{
    for (qsizetype i = std::min(at, content.size()); i + length <= content.size(); ++i) {
        bool han = true;
        for (int k = 0; k < length && han; ++k)
            han = isHan(content.at(i + k).unicode());
        if (han)
            return content.mid(i, length);
    }
    return content.left(length);
}
}
