#pragma once

#include "failure.h"

#include <QString>

// " 全文檢索搜尋　[ " + termsText + " ]　資料不存在": the one message of a
// search that found nothing, the terms text shown as built (escaped,
// without the mode prefix).
QString noResultMessage(const QString &termsText);
