#include "viewerpage.h"

void ViewerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString &message, int line,
                                          const QString &source)
{
    QWebEnginePage::javaScriptConsoleMessage(level, message, line, source);
    Q_EMIT consoleMessage(message);
}
