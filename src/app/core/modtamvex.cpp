#include "modtamvex.h"

namespace modTamvex {
QString ConnectionString;

QString makeConnectionString(const QString &folder)
{
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=") + folder
        + QStringLiteral("/jst.mdb;Persist Security Info=False");
}

QString dataSourceOf(const QString &connectionString)
{
    static const QString key = QStringLiteral("Data Source=");
    const qsizetype start = connectionString.indexOf(key, 0, Qt::CaseInsensitive);
    if (start < 0)
        return QString();
    const qsizetype from = start + key.size();
    // A folder may hold ";": the data source ends at the last ";" that starts
    // a known property, so look for the property name rather than any ";".
    static const QString tail = QStringLiteral(";Persist Security Info=");
    qsizetype end = connectionString.indexOf(tail, from, Qt::CaseInsensitive);
    if (end < 0)
        end = connectionString.indexOf(QLatin1Char(';'), from);
    if (end < 0)
        end = connectionString.size();
    return connectionString.mid(from, end - from);
}
}

QString productLabel()
{
    return QStringLiteral("Tamvex");
}
