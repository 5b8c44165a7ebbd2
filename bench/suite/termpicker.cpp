#include "termpicker.h"

#include "postingcodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace {

bool isHan(char32_t c) { return c >= 0x4E00 && c <= 0x9FFF; }

bool keyIsHan(TextKeys::Key key, bool pair)
{
    if (key >= TextKeys::kContentKey)
        return false;
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

// Rows holding the key: the cardinality of its postings (the encoded size
// does not tell it; a dense bitmap with few gaps is small).
std::uint64_t rowsOf(const CollectionIndex &index, TextKeys::Key key)
{
    const auto answer = index.answer(true, {QLatin1Char('%') + keyText(key) + QLatin1Char('%')});
    return answer ? answer->ordinals.cardinality() : 0;
}

// The Han characters by rows held, most first.
std::vector<std::pair<std::uint64_t, TextKeys::Key>> unigramsByRows(const CollectionIndex &index)
{
    std::vector<std::pair<std::uint64_t, TextKeys::Key>> counted;
    index.forEachKey([&](TextKeys::Key key, std::uint64_t) {
        if (keyIsHan(key, false))
            counted.emplace_back(rowsOf(index, key), key);
    });
    std::sort(counted.begin(), counted.end(), std::greater<>());
    return counted;
}
}

namespace TermPicker {

QString mostFrequent(const CollectionIndex &index, bool pair)
{
    const auto unigrams = unigramsByRows(index);
    if (unigrams.empty())
        return QString();
    if (!pair)
        return keyText(unigrams.front().second);
    // A pair is held by no more rows than either of its characters: once the
    // best pair of the most frequent characters beats the next character,
    // no pair with a rarer character can beat it.
    for (std::size_t top = 64;; top *= 4) {
        const std::size_t n = std::min(top, unigrams.size());
        std::set<char32_t> frequent;
        for (std::size_t i = 0; i < n; ++i)
            frequent.insert(char32_t(unigrams[i].second));
        TextKeys::Key best = 0;
        std::uint64_t bestRows = 0;
        index.forEachKey([&](TextKeys::Key key, std::uint64_t) {
            if (!keyIsHan(key, true) || !frequent.count(char32_t((key >> 21) & 0x1FFFFF))
                || !frequent.count(char32_t(key & 0x1FFFFF)))
                return;
            const std::uint64_t rows = rowsOf(index, key);
            if (rows > bestRows)
                best = key, bestRows = rows;
        });
        if (n == unigrams.size() || bestRows >= unigrams[n].first)
            return bestRows ? keyText(best) : QString();
    }
}

QString rare(const CollectionIndex &index, bool pair, std::size_t rows)
{
    if (!pair) {
        // Few enough characters to count them all.
        std::uint64_t bestDistance = UINT64_MAX;
        TextKeys::Key best = 0;
        for (const auto &[held, key] : unigramsByRows(index)) {
            const std::uint64_t distance = held > rows ? held - rows : rows - held;
            if (held && distance < bestDistance)
                best = key, bestDistance = distance;
        }
        return bestDistance == UINT64_MAX ? QString() : keyText(best);
    }
    // Pairs by the size of their lists: a kind byte, the count, then gaps of
    // two to three bytes a row for far-apart rows. A bitmap of a pair nearly
    // every record holds is small too, so the nearest sizes are checked for
    // their row count.
    const std::uint64_t target = 2 + rows * 5 / 2;
    std::vector<std::pair<std::uint64_t, TextKeys::Key>> nearest;
    std::uint64_t i = 0;
    index.forEachKey([&](TextKeys::Key key, std::uint64_t size) {
        if (i++ % 7 != 3 || !keyIsHan(key, true))
            return;
        nearest.emplace_back(size > target ? size - target : target - size, key);
    });
    std::sort(nearest.begin(), nearest.end());
    for (const auto &[distance, key] : nearest)
        if (rowsOf(index, key) < PostingCodec::kBitmapFrom)
            return keyText(key);
    return QString();
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
