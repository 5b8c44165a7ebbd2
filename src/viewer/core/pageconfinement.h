#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

// What a shown page may load. Record pages come with a collection and may
// carry scripts; a page must not read the reader's own files nor reach a
// network. So a page loads only regular files inside the collection's
// folders (its pictures and styles), a few schemes that carry no request
// (data:, blob:, about:), and, as the top frame, the page the window itself
// asked for, wherever it lies (a stored page path may lead to a sibling
// folder of the collection).
class PageConfinement {
public:
    // roots: the folders whose files pages may load (the program folder,
    // the folder of the temporary page). Links are resolved, so a link
    // inside a root that leads out of it does not open the way.
    explicit PageConfinement(const QStringList &roots);

    // Adds a folder whose files pages may load (one that does not exist
    // yet is taken as it will be named).
    void addRoot(const QString &folder);

    // The page the window navigates to next: allowed as the top frame.
    void setShownPage(const QUrl &page) { m_shownPage = page; }

    // True when url may be loaded; topFrame for the top frame's own
    // document, false for every frame, resource, request and socket.
    bool allows(const QUrl &url, bool topFrame) const;

private:
    bool insideRoots(const QString &localFile) const;

    QStringList m_roots;
    QUrl m_shownPage;
};
