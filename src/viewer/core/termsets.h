#pragma once

#include <QList>

#include <string>
#include <vector>

// A term as the page marker matches it in a variant search: for each
// character of the term, the page characters (code page 950 decodes to the
// Basic Multilingual Plane, one unit each) that may stand there.
using TermSets = std::vector<std::u16string>;
