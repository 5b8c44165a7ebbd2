#pragma once

#include <QString>

// One mark the page marker inserted, as the written page holds it. Marks
// come in the order of their opening tags in the written page; of marks
// that open at the same place, the one that closes later (the earlier term
// for two equal ones) opens first and holds the other.
struct PageMark {
    int term = 0;          // index in the term list of the term it was made for
    bool outermost = true; // no other inserted mark holds it
    int nested = 0;        // inserted marks inside it, at every depth
    int fontOrdinal = 0;   // place among all "<font" start tags of the written page (from 0)
    QString text;          // the page characters it holds, as code page 950 decodes them
};
