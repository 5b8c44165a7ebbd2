// tamvex: the desktop program. It has no command line and no settings: it
// opens on the start screen and finds everything in its own folder.

#include "editorforms.h"
#include "forms.h"
#include "frmini.h"
#include "frmtamvexmain.h"
#include "translation.h"

#include <QApplication>

#include <unistd.h>

int main(int argc, char **argv)
{
    // The browser engine's sandbox refuses to run as root.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    Translation::install();
    app.setQuitOnLastWindowClosed(false);

    Forms::registerForm(QStringLiteral("FrmIni"), [] { return new FrmIni; });
    Forms::registerForm(QStringLiteral("FrmTamvexMain"), [] { return new FrmTamvexMain; });
    registerEditorForms();
    Forms::setLastUnloadedHandler([] { QCoreApplication::quit(); });

    Forms::instance(QStringLiteral("FrmIni"))->Show();
    return app.exec();
}
