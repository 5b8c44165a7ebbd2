#pragma once

#include <QList>
#include <QString>

#include <optional>
#include <string>
#include <utility>
#include <vector>

// The part of a pattern's code points between its leading and its trailing
// "%" signs, as [first, end); first == size when the pattern is "%" signs.
std::pair<qsizetype, qsizetype> betweenPercentSigns(const QList<uint> &cps);

// The characters of a like pattern of a variant search: "%" signs, then
// characters and plain sets ("[脉脈衇]": no "!", no range, not empty), then
// "%" signs. Each position as the characters it takes, folded with fold.
// nullopt for any other pattern (anchored, "_", ranges, negated sets), or
// when no position is a set of more than one character.
std::optional<std::vector<std::u32string>> setSequence(const QString &pattern, char32_t (*fold)(char32_t));
