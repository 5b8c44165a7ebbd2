#pragma once

#include "varianttable.h"

#include <QString>

// The query text of a variant search: every character that has variants
// becomes the like set of what it finds ("脉" -> "[脉脈衇]"), everything
// else stays as typed: blanks, the mode prefix, "%", "_", apostrophes, and
// a "[...]" set the reader typed (up to its "]", or to the end of the text
// when it is not closed, so that the like rules judge it as they would).
// Takes the trimmed query box text; the result goes to buildQuery.
QString variantQueryText(const QString &text, const VariantTable &table);
