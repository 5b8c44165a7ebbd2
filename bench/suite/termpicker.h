#pragma once

#include "collectionindex.h"

#include <QString>

// Chooses benchmark terms from a kept index: CJK characters and pairs that
// few rows hold, or the most rows, and phrases cut from a record.
namespace TermPicker {

// The CJK character (pairs: true for a pair) held by the most rows.
QString mostFrequent(const CollectionIndex &index, bool pair);

// A CJK character or pair held by about `rows` rows (at least one).
QString rare(const CollectionIndex &index, bool pair, std::size_t rows);

// `length` CJK characters in a row from the content, from about `at`.
QString phrase(const QString &content, qsizetype at, int length);
}
