#pragma once

// A small jst.mdb in the program's SQLite format, written for one test.

#include <QCryptographicHash>
#include <QFile>
#include <QString>
#include <QVariant>

#include <sqlite3.h>

#include <vector>

struct TestRecord {
    QString subject;
    QString htm;
    QVariant content; // a null QVariant stores NULL
    QString date;
};

inline std::vector<TestRecord> standardRecords()
{
    return {
        {u"傷寒論 發熱"_qs, u"p01.htm"_qs, u"太陽病，發熱，頭痛，惡寒。"_qs, u"1990-01-01 00:00:00"_qs},
        {u"溫病 發熱"_qs, u"books\\wen\\p02.htm"_qs, u"溫病初起，發熱而渴。"_qs, u"2001-05-05 00:00:00"_qs},
        {u"頭痛論"_qs, u"p03.htm"_qs, u"頭痛連項，惡風。"_qs, u"1880-03-01 00:00:00"_qs},
        {u"空白"_qs, u"p04.htm"_qs, QVariant(), u"2010-01-01 00:00:00"_qs},
        {u"醫者's note"_qs, u"p05.htm"_qs, u"the physician's note: ABC"_qs, u"1995-07-07 00:00:00"_qs},
        {u"小寫"_qs, u"p06.htm"_qs, u"lower abc and a_b [x] 100%"_qs, u"1995-07-07 00:00:00"_qs},
        {u"空字串"_qs, u"p07.htm"_qs, QString(u""_qs), u"1970-01-01 00:00:00"_qs},
    };
}

// Writes records into folder/jst.mdb; returns false on any SQLite error.
inline bool writeTestDatabase(const QString &folder, const std::vector<TestRecord> &records)
{
    const QByteArray path = QFile::encodeName(folder + u"/jst.mdb"_qs);
    QFile::remove(folder + u"/jst.mdb"_qs);
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.constData(), &db) != SQLITE_OK)
        return false;
    // A term index may be reading the file in the background meanwhile.
    sqlite3_busy_timeout(db, 10000);
    bool ok = sqlite3_exec(db, "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt *insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO maindata VALUES(?,?,?,?)", -1, &insert, nullptr) == SQLITE_OK;
    for (const TestRecord &r : records) {
        if (!ok)
            break;
        const QByteArray s = r.subject.toUtf8(), h = r.htm.toUtf8(), c = r.content.toString().toUtf8(), d = r.date.toUtf8();
        sqlite3_bind_text(insert, 1, s.constData(), static_cast<int>(s.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, h.constData(), static_cast<int>(h.size()), SQLITE_TRANSIENT);
        if (r.content.isNull())
            sqlite3_bind_null(insert, 3);
        else
            sqlite3_bind_text(insert, 3, c.constData(), static_cast<int>(c.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, d.constData(), static_cast<int>(d.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_close(db);
    return ok;
}

inline QByteArray fileHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}
