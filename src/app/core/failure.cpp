#include "failure.h"

QString failureReport(const Failure &failure)
{
    return QStringLiteral(u"錯誤 %1：%2").arg(failure.number).arg(failure.description);
}
