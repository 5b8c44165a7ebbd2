#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>

#include "pagemark.h"
#include "termsets.h"

#include <QList>

// The mark-up wrapped around every term occurrence.
inline constexpr QByteArrayView OpenMark("<font color=red>");
inline constexpr QByteArrayView CloseMark("</font>");

// Marks the search terms in a record page (code page 950 bytes).
// Takes the page bytes and the terms in Unicode; returns the page bytes with
// OpenMark and CloseMark inserted around each occurrence, and nothing else
// changed: removing the inserted marks gives back page byte for byte.
// The terms are applied one after another, each to the result of the earlier
// ones: left to right, non-overlapping, exact and case-sensitive on decoded
// characters. An empty term changes nothing; a term given twice is wrapped
// twice; a term found inside an earlier term's occurrence is wrapped again
// inside it. Terms match only the page's text: never inside or across a tag,
// a comment, a character reference, the content of script, style, title or
// textarea, or an inserted mark (which is a tag).
QByteArray markPage(QByteArrayView page, const QStringList &terms);

// The same marking, also filling marks (when given) with every inserted
// mark in document order; the bytes returned are those of the call above.
QByteArray markPage(QByteArrayView page, const QStringList &terms, QList<PageMark> *marks);

// The same marking for terms whose characters are sets: a position matches
// any member of its set, so every printed combination is marked (the page
// prints 黃耆, the term {黄,黃}{耆} marks it). The rules above hold alike.
// A term with no positions changes nothing.
QByteArray markPage(QByteArrayView page, const QList<TermSets> &terms, QList<PageMark> *marks = nullptr);
