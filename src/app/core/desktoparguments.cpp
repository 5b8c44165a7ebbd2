#include "desktoparguments.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString usage()
{
    return QCoreApplication::translate("DesktopArguments", "usage: tamvex [--program-folder DIR | DIR | DIR/jst.mdb]");
}
}

DesktopArguments parseDesktopArguments(const QStringList &args)
{
    DesktopArguments parsed;
    QString path;
    if (args.size() == 2 && args.first() == QLatin1String("--program-folder"))
        path = args.at(1);
    else if (args.size() == 1 && !args.first().startsWith(QLatin1Char('-')))
        path = args.first();
    else if (!args.isEmpty()) {
        parsed.error = usage();
        return parsed;
    }
    if (args.isEmpty())
        return parsed;
    const QFileInfo info(path);
    const QFileInfo folder = info.isDir() ? info : QFileInfo(info.absolutePath());
    if (path.isEmpty() || !info.exists() || !folder.isDir()) {
        parsed.error = QCoreApplication::translate("DesktopArguments", "No collection folder at '%1'.").arg(path);
        return parsed;
    }
    parsed.programFolder = folder.absoluteFilePath();
    return parsed;
}
