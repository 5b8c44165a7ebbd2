#include "failure.h"

#include <QCoreApplication>

QString failureReport(const Failure &failure)
{
    return QCoreApplication::translate("Failure", "錯誤 %1：%2").arg(failure.number).arg(failure.description);
}

Failure interruptedFailure()
{
    return Failure{FailureNumber::Interrupted, QCoreApplication::translate("Failure", "The search was abandoned.")};
}

bool isInterrupted(const Failure &failure)
{
    return failure.number == FailureNumber::Interrupted;
}
