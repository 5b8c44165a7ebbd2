#pragma once

#include "concordance.h"
#include "concordancequery.h"

#include <string_view>

// Context of one occurrence in UTF-8 content: up to width characters (code
// points, so a character outside the BMP counts once) on each side of the
// span. Tabs, line ends and other control characters read as blanks, so a
// line stays one line wherever it goes.
Concordance::Line concordanceLine(std::string_view content, LikeSpanFinder::Span span, int width);

// Adds a record of the result with its content (UTF-8, not NULL): its lines,
// and the record itself when it has any. resultRow is its row in the result
// list.
void addConcordanceRecord(Concordance &concordance, const ConcordanceQuery &query, Concordance::Record record,
                          std::string_view content);
