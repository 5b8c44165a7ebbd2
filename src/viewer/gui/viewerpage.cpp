#include "viewerpage.h"

void ViewerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString &message, int, const QString &)
{
    Q_EMIT consoleMessage(message);
}
