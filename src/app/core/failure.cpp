#include "failure.h"

#include <QCoreApplication>

QString failureReport(const Failure &failure)
{
    return QCoreApplication::translate("Failure", "錯誤 %1：%2").arg(failure.number).arg(failure.description);
}
