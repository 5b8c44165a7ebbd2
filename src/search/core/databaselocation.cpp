#include "databaselocation.h"

#include "programfolder.h"

DatabaseLocation DatabaseLocation::inFolder(const QString &programFolder)
{
    return DatabaseLocation{joinTail(programFolder, QStringLiteral("/jst.mdb")),
                            joinTail(programFolder, QStringLiteral("/tmp"))};
}
