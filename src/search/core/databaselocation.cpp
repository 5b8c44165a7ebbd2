#include "databaselocation.h"

#include "programfolder.h"
#include "workfolder.h"

DatabaseLocation DatabaseLocation::inFolder(const QString &programFolder)
{
    return DatabaseLocation{joinTail(programFolder, QStringLiteral("/jst.mdb")),
                            workFolder(programFolder)};
}
