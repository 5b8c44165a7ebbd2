#pragma once

#include "pagehits.h"

#include <QObject>
#include <QString>

#include <functional>

class QWebEngineView;

// The hits of the page a web view shows: the current hit drawn as a box,
// the hit map along the right edge and the count in the corner, all drawn
// by a script in a world of its own over the loaded page, which it leaves
// as the page writer wrote it. F3 and Shift+F3 of the window step here.
class PageHitView : public QObject {
    Q_OBJECT
public:
    // view's page must be a ViewerPage (the hit map's clicks come through it).
    explicit PageHitView(QWebEngineView *view);

    // The marks of the page the view is about to load and the terms they
    // were made for; drawn once the page has loaded. No hit is current.
    void setPage(const QList<PageMark> &marks, const QStringList &terms);
    // The page shown has no hits (the help page, an unmarked page).
    void clear();

    // Step to the next / previous hit (wrapping) and show it.
    void next();
    void previous();
    // Show hit (from 0); out of range does nothing.
    void goTo(int hit);
    // Once the page has loaded, show the hit for the sameHit-th occurrence
    // of text (see PageHits::hitOfOccurrence); with no mark of that text no
    // hit is current and the view stays at the top.
    void goToOccurrence(const QString &text, int sameHit);

    const PageHits &hits() const { return m_hits; }
    // «第 k／n 處  發熱 12 · 頭痛 5», or «共 n 處  …» before the first step;
    // empty without hits.
    QString countText() const;
    // The script has found the marks in the loaded page.
    bool isReady() const { return m_ready; }
    int located() const { return m_located; }

Q_SIGNALS:
    // The marks were found in the loaded page (found of count()).
    void ready(int found);
    // The script has drawn hit as the current one.
    void shown(int hit);

private:
    void pageLoaded(bool ok);
    void consoleMessage(const QString &message);
    void run(const QString &script, const std::function<void(const QVariant &)> &done = {});
    void show(int hit);
    void pushCount();

    QWebEngineView *m_view;
    PageHits m_hits;
    QString m_token;
    bool m_ready = false;
    int m_located = 0;
    quint64 m_generation = 0; // pages set so far: a late answer for an older page is dropped
};
