#pragma once

#include <QWebEnginePage>

// The record view's page: passes on what the view's own page scripts say
// through the console, so that a click inside the page (the hit map) reaches
// the window.
class ViewerPage : public QWebEnginePage {
    Q_OBJECT
public:
    using QWebEnginePage::QWebEnginePage;

Q_SIGNALS:
    void consoleMessage(const QString &message);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                  const QString &source) override;
};
