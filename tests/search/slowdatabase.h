#pragma once

// A jst.mdb whose search for slowQuery() takes seconds, by a scan or by a
// term index alike: many long records of one repeated character, which the
// query's term almost matches at every place. Each record also holds a word of its own, so that a quick search
// finds a known record in the same file.

#include <QFile>
#include <QString>

#include <sqlite3.h>

inline constexpr int SlowRecordCount = 400;
inline constexpr int SlowContentLength = 25000;

// The title and the word of record k (1..SlowRecordCount).
inline QString slowTitle(int k)
{
    return QStringLiteral(u"長卷%1").arg(k);
}

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
    const QString path = folder + QStringLiteral("/jst.mdb");
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        return false;
    bool ok = sqlite3_exec(db, "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT);"
                               "BEGIN", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt *insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO maindata VALUES(?,?,?,?)", -1, &insert, nullptr) == SQLITE_OK;
    const QString body(SlowContentLength, QChar(u'a'));
    for (int k = 1; ok && k <= SlowRecordCount; ++k) {
        const QByteArray subject = slowTitle(k).toUtf8();
        const QByteArray htm = QStringLiteral("p%1.htm").arg(k).toUtf8();
        // The "c" lets no term index tell the records apart for slowQuery.
        const QString word = (k == 7 ? quickQuery() : QStringLiteral(u"甲%1乙").arg(k)) + QStringLiteral("c");
        const QByteArray content = (word + body).toUtf8();
        const QByteArray date = QStringLiteral("2000-01-01 %1").arg(k, 7, 10, QLatin1Char('0')).toUtf8();
        sqlite3_bind_text(insert, 1, subject.constData(), int(subject.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, htm.constData(), int(htm.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, content.constData(), int(content.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}
