#pragma once

#include "pageconfinement.h"

#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;
class QWebEngineView;
class QObject;

// Holds a web view's pages to what PageConfinement allows: every request
// of the view's profile (frames, pictures, scripts, fetch and XHR,
// WebSocket) passes through it, a page's scripts may not read file URLs
// on their own nor open windows, and nothing is kept on disk.
class ConfinedPageView : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    // Gives view a page of its own profile, owned by profileOwner (which
    // must outlive view's page: the window that holds the view).
    ConfinedPageView(QWebEngineView *view, QObject *profileOwner, const QStringList &roots);

    // Lets pages load the files of folder too (the temporary page's).
    void allowFolder(const QString &folder) { m_confinement.addRoot(folder); }

    // Called before the view is asked to show page.
    void willShow(const QUrl &page) { m_confinement.setShownPage(page); }

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    PageConfinement m_confinement;
};
