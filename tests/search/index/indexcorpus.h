#pragma once

// Generated maindata tables for the term index tests: mixed scripts, case
// variants, the like syntax characters as text, NULL and empty content, and
// few distinct dates so that most rows tie on the sort key.

#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

namespace IndexCorpus {

// Pieces that rows are made of; queries draw terms from them too.
inline const QStringList &alphabet()
{
    static const QStringList pieces {
        u"發"_qs, u"熱"_qs, u"頭"_qs, u"痛"_qs, u"惡"_qs, u"寒"_qs, u"之"_qs, u"，"_qs, u"。"_qs,
        u"A"_qs, u"a"_qs, u"b"_qs, u"B"_qs, u"k"_qs, u"K"_qs, u"\u212A"_qs, u"s"_qs, u"\u017F"_qs,
        u"ß"_qs, u"é"_qs, u"É"_qs, u"Σ"_qs, u"σ"_qs, u"ς"_qs, u"%"_qs, u"_"_qs, u"["_qs, u"]"_qs,
        u"!"_qs, u"'"_qs, u" "_qs, u"-"_qs, u"+"_qs, u"1"_qs, u"\U0002000B"_qs, u"\u3000"_qs, u"\t"_qs,
    };
    return pieces;
}

inline QString randomText(QRandomGenerator &random, int length)
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += alphabet().at(int(random.bounded(qsizetype(alphabet().size()))));
    return text;
}

// Writes folder/jst.mdb with `rows` generated rows (every 50th NULL, every
// 61st empty), subjects long enough that sorting all rows spills to disk,
// and dates from only `dates` distinct values. Returns false on an error.
inline bool writeCorpus(const QString &folder, int rows, int dates, quint32 seed)
{
    const QString path = folder + u"/jst.mdb"_qs;
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        return false;
    QRandomGenerator random(seed);
    bool ok = sqlite3_exec(db, "PRAGMA page_size=65536; BEGIN; CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)",
                           nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_stmt *insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, "INSERT INTO maindata VALUES(?,?,?,?)", -1, &insert, nullptr) == SQLITE_OK;
    for (int r = 0; ok && r < rows; ++r) {
        const QByteArray subject = (u"第%1篇 "_qs.arg(r) + QString(60, QLatin1Char('x'))).toUtf8();
        const QByteArray htm = u"p%1.htm"_qs.arg(r).toUtf8();
        const QByteArray content = randomText(random, 5 + int(random.bounded(60))).toUtf8();
        const QByteArray date = u"2000-01-%1 00:00:00"_qs.arg(1 + int(random.bounded(dates)), 2, 10, QLatin1Char('0')).toUtf8();
        sqlite3_bind_text(insert, 1, subject.constData(), int(subject.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 2, htm.constData(), int(htm.size()), SQLITE_TRANSIENT);
        if (r % 50 == 7)
            sqlite3_bind_null(insert, 3);
        else
            sqlite3_bind_text(insert, 3, r % 61 == 5 ? "" : content.constData(), r % 61 == 5 ? 0 : int(content.size()), SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 4, date.constData(), int(date.size()), SQLITE_TRANSIENT);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return ok;
}

// Every content value of the table, in rowid order (NULL as a null QString).
inline QStringList contents(const QString &folder)
{
    QStringList out;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(folder + u"/jst.mdb"_qs).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT content FROM maindata ORDER BY rowid", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        out << (text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, 0)) : QString());
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}
}
