// tamvex: the desktop program. It opens on the start screen and finds
// everything in its own folder, or in the collection folder its command
// line names (tamvex --program-folder DIR, or a folder or its jst.mdb as a
// file manager passes it).

#include "desktoparguments.h"
#include "editorforms.h"
#include "forms.h"
#include "frmini.h"
#include "frmtamvexmain.h"
#include "programfolder.h"
#include "translation.h"

#include <QApplication>

#include <unistd.h>

#include <cstdio>

int main(int argc, char **argv)
{
    // The browser engine's sandbox refuses to run as root.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    Translation::install();
    app.setQuitOnLastWindowClosed(false);
    const DesktopArguments arguments = parseDesktopArguments(app.arguments().mid(1));
    if (!arguments.error.isEmpty()) {
        std::fputs(arguments.error.toUtf8().append('\n').constData(), stderr);
        return 64;
    }
    // Every file is then found in that folder, as if the programs lay there.
    if (!arguments.programFolder.isEmpty())
        setProgramFolderOverride(arguments.programFolder);

    Forms::registerForm(QStringLiteral("FrmIni"), [] { return new FrmIni; });
    Forms::registerForm(QStringLiteral("FrmTamvexMain"), [] { return new FrmTamvexMain; });
    registerEditorForms();
    Forms::setLastUnloadedHandler([] { QCoreApplication::quit(); });

    Forms::instance(QStringLiteral("FrmIni"))->Show();
    return app.exec();
}
