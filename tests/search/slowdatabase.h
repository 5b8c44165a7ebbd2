#pragma once

// A jst.mdb whose search for slowQuery() takes seconds, by a scan or by a
// term index alike: many long records of one repeated character, which the
// query's term almost matches at every place. Each record also holds a word
// of its own, so that a quick search finds a known record in the same file.
// Titles, pages and dates are those of writeBulkDatabase.

#include "bulkdatabase.h"

inline constexpr int SlowRecordCount = 400;
inline constexpr int SlowContentLength = 25000;

// A query the quick search finds in record 7 only.
inline QString quickQuery()
{
    return QStringLiteral(u"甲七乙");
}

// Sixty "a" at every other place and then "c": every place of every record
// matches the "a"s, and only the last test fails.
inline QString slowQuery()
{
    return QStringLiteral("a_").repeated(60) + QStringLiteral("c");
}

inline bool writeSlowDatabase(const QString &folder)
{
    const QString body(SlowContentLength, QChar(u'a'));
    return writeBulkDatabase(folder, SlowRecordCount, [&](int k) {
        // The "c" lets no term index tell the records apart for slowQuery.
        return (k == 7 ? quickQuery() : QStringLiteral(u"甲%1乙").arg(k)) + QStringLiteral("c") + body;
    });
}
