#pragma once

#include "pagemark.h"
#include "termsets.h"
#include "varianttable.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QStringList>

// The term as sets of the page characters its characters find. A character
// that a code page 950 page cannot hold (outside the Basic Multilingual
// Plane, a lone surrogate) is left out of its set; a position whose set is
// then empty cannot occur, and the term gives no sets at all.
TermSets variantTermSets(const QString &term, const VariantTable &table);

// Marks the terms as markPage does, each character also matching the
// variants the table gives it, so that the glyphs the page prints are marked.
// marks, when given, receives every inserted mark (for the term list index).
QByteArray markPageVariants(QByteArrayView page, const QStringList &terms, const VariantTable &table,
                            QList<PageMark> *marks = nullptr);
