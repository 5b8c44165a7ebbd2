#include "searchmessages.h"

QString noResultMessage(const QString &termsText)
{
    return QStringLiteral(u" 全文檢索搜尋\u3000[ ") + termsText + QStringLiteral(u" ]\u3000資料不存在");
}
