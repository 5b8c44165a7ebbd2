#pragma once

// A large jst.mdb for list-all runs: record k (1..count) has the title
// "第k條", the page "pk.htm" and a date that sorts with k, so a list-all
// (newest first) shows record count first and record 1 last. Its content
// is empty, or contentOf(k).

#include <QFile>
#include <QString>

#include <sqlite3.h>

#include <functional>

inline QString bulkTitle(int k)
{
    return QStringLiteral(u"第%1條").arg(k);
}

inline bool writeBulkDatabase(const QString &folder, int count,
                              const std::function<QString(int)> &contentOf = {})
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
    for (int k = 1; ok && k <= count; ++k) {
        const QByteArray subject = bulkTitle(k).toUtf8();
        const QByteArray htm = QStringLiteral("p%1.htm").arg(k).toUtf8();
        const QByteArray content = contentOf ? contentOf(k).toUtf8() : QByteArray("");
        const QByteArray date = QStringLiteral("2000-01-01 %1").arg(k, 7, 10, QLatin1Char('0')).toUtf8();
        sqlite3_bind_text(insert, 1, subject.constData(), static_cast<int>(subject.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, htm.constData(), static_cast<int>(htm.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, content.constData(), static_cast<int>(content.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, date.constData(), static_cast<int>(date.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}
