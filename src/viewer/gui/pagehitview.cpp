#include "pagehitview.h"

#include "pagehitscript.h"
#include "viewerpage.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUuid>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

namespace {
// The world the hit script runs in: not the page's own.
constexpr quint32 HitWorld = QWebEngineScript::ApplicationWorld;

QString jsonText(const QJsonArray &array)
{
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// A text as a script literal.
QString jsString(const QString &text)
{
    return jsonText(QJsonArray{text}) + QStringLiteral("[0]");
}
}

PageHitView::PageHitView(QWebEngineView *view) : QObject(view), m_view(view)
{
    QWebEngineScript script;
    script.setName(QStringLiteral("tamvex-hits"));
    script.setWorldId(HitWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentReady);
    script.setRunsOnSubFrames(false);
    script.setSourceCode(pageHitScript());
    view->page()->scripts().insert(script);
    connect(view, &QWebEngineView::loadFinished, this, &PageHitView::pageLoaded);
    if (auto *page = qobject_cast<ViewerPage *>(view->page()))
        connect(page, &ViewerPage::consoleMessage, this, &PageHitView::consoleMessage);
}

void PageHitView::setPage(const QList<PageMark> &marks, const QStringList &terms)
{
    ++m_generation;
    m_ready = false;
    m_located = 0;
    m_hits.reset(marks, terms);
}

void PageHitView::clear()
{
    setPage({}, {});
}

void PageHitView::pageLoaded(bool ok)
{
    // A load cut short by the next navigation is not the page shown.
    if (!ok || m_view->page()->isLoading())
        return;
    m_token = QUuid::createUuid().toString(QUuid::WithoutBraces);
    QJsonArray marks;
    for (int k = 0; k < m_hits.count(); ++k) {
        const PageMark &hit = m_hits.hit(k);
        marks.append(QJsonArray{hit.fontOrdinal, hit.nested, hit.text});
    }
    const quint64 generation = m_generation;
    run(QStringLiteral("tamvexHits.setCount(%1), tamvexHits.locate(%2, %3)")
            .arg(jsString(countText()), jsonText(marks), jsString(m_token)),
        [this, generation](const QVariant &found) {
            if (generation != m_generation)
                return;
            m_ready = true;
            m_located = found.toInt();
            Q_EMIT ready(m_located);
            // A hit made current before the page was there (the concordance's).
            if (m_hits.current() >= 0)
                show(m_hits.current());
        });
}

void PageHitView::consoleMessage(const QString &message)
{
    // Only the hit script knows the token: nothing the page itself logs counts.
    if (m_token.isEmpty() || !message.startsWith(m_token + QLatin1Char(' ')))
        return;
    bool ok = false;
    const int hit = message.mid(m_token.size() + 1).toInt(&ok);
    if (!ok || hit < 0 || hit >= m_hits.count())
        return;
    m_hits.setCurrent(hit);
    pushCount();
    Q_EMIT shown(hit);
}

void PageHitView::next()
{
    if (m_hits.next() >= 0)
        show(m_hits.current());
}

void PageHitView::previous()
{
    if (m_hits.previous() >= 0)
        show(m_hits.current());
}

void PageHitView::goTo(int hit)
{
    if (hit < 0 || hit >= m_hits.count())
        return;
    m_hits.setCurrent(hit);
    show(hit);
}

void PageHitView::goToOccurrence(const QString &text, int sameHit)
{
    goTo(m_hits.hitOfOccurrence(text, sameHit));
}

QString PageHitView::countText() const
{
    const QString count = m_hits.countText();
    return count.isEmpty() ? count : count + QStringLiteral("  ") + m_hits.termCountsText();
}

void PageHitView::show(int hit)
{
    if (!m_ready)
        return; // shown once the page has loaded
    const quint64 generation = m_generation;
    run(QStringLiteral("tamvexHits.show(%1, %2)").arg(QString::number(hit), jsString(countText())),
        [this, generation](const QVariant &shownHit) {
            if (generation == m_generation && shownHit.toInt() >= 0)
                Q_EMIT shown(shownHit.toInt());
        });
}

void PageHitView::pushCount()
{
    run(QStringLiteral("tamvexHits.setCount(%1)").arg(jsString(countText())));
}

void PageHitView::run(const QString &script, const std::function<void(const QVariant &)> &done)
{
    // Before the injected script has run (an empty or failed page) there is
    // nothing to draw on.
    const QString guarded = QStringLiteral("window.tamvexHits ? (%1) : -1").arg(script);
    if (done)
        m_view->page()->runJavaScript(guarded, HitWorld, done);
    else
        m_view->page()->runJavaScript(guarded, HitWorld);
}
