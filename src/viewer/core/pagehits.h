#pragma once

#include "pagemark.h"

#include <QList>
#include <QString>
#include <QStringList>

// The hits of the displayed page: the outermost marks the page writer
// inserted, in document order, and which of them is current. A mark nested
// in another is part of that hit and counts once, for the outer mark's term.
class PageHits {
public:
    // Takes every mark of the page (as the writer reports them) and the term
    // list they were made for; no hit is current afterwards.
    void reset(const QList<PageMark> &marks, const QStringList &terms);

    int count() const { return int(m_hits.size()); }
    // The current hit (from 0), or -1 before the first step.
    int current() const { return m_current; }
    const PageMark &hit(int index) const { return m_hits[index]; }

    // Steps to the next (previous) hit, wrapping at the ends; the first
    // step forward goes to the first hit, the first step back to the last.
    // Returns the new current hit, -1 when the page has none.
    int next();
    int previous();
    // Makes hit current; out of range leaves the current hit as it was.
    void setCurrent(int hit);

    // The hit for the occurrence of text that is sameHit-th (from 0) among
    // the page's marks of that text, nested ones included (a nested mark
    // gives the hit that holds it). With fewer marks of that text, the last
    // one; with none, -1.
    int hitOfOccurrence(const QString &text, int sameHit) const;

    // Hits per term, for each distinct non-empty term in term-list order.
    QList<QPair<QString, int>> termCounts() const;
    // «共 n 處» before the first step, «第 k／n 處» after; empty without hits.
    QString countText() const;
    // «發熱 12 · 頭痛 5»; empty without hits.
    QString termCountsText() const;

private:
    QList<PageMark> m_hits;
    QList<PageMark> m_all;
    QList<int> m_holder; // for each of m_all, its hit
    QStringList m_terms;
    int m_current = -1;
};
