#include "confinedpageview.h"

#include "viewerpage.h"

#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineView>

ConfinedPageView::ConfinedPageView(QWebEngineView *view, QObject *profileOwner, const QStringList &roots)
    : QWebEngineUrlRequestInterceptor(profileOwner), m_confinement(roots)
{
    // An off-the-record profile: no cache, cookies or storage on disk.
    auto *profile = new QWebEngineProfile(profileOwner);
    profile->setUrlRequestInterceptor(this);
    auto *page = new ViewerPage(profile, view);
    QWebEngineSettings *settings = page->settings();
    // Left on: without it a local page loads not even its own pictures and
    // styles. What it may load is decided request by request below.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    view->setPage(page);
}

void ConfinedPageView::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const bool topFrame = info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame;
    if (!m_confinement.allows(info.requestUrl(), topFrame))
        info.block(true);
}
