#pragma once

#include <QString>

// The script the record view runs in the loaded page, in a world of its own
// (the page's scripts neither see it nor it theirs). It defines tamvexHits:
//   locate(marks, token)  finds the page's inserted marks, given as
//                         [fontOrdinal, nested, text] per hit in document
//                         order, among the page's font elements; draws the
//                         hit map; returns how many it found;
//   show(k, text)         draws hit k as the current hit, scrolls it into
//                         the middle of the view and sets the count to
//                         text; returns k;
//   setCount(text)        the count in the corner of the view;
//   state()               what it drew, for tests.
// A click on the map shows that hit and says so on the console as
// "<token> <k>". Everything it draws lies in a closed shadow root on a layer
// of its own: the page's elements and text stay as they are.
QString pageHitScript();
