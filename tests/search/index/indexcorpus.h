#pragma once

// Generated maindata tables for the term index tests: mixed scripts, case
// variants, the like syntax characters as text, NULL and empty content, and
// few distinct dates so that most rows tie on the sort key. Besides the
// generated corpus, any table can be written cell by cell with the storage
// class each cell should have (text, BLOB, integer, real, NULL).

#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <optional>
#include <vector>

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

// Latin text with every kind of case trouble: the Kelvin sign, long s,
// sharp s and its capital, dotted and dotless i, final sigma, a combining
// accent, and the replacement character as real text.
inline const QStringList &latinAlphabet()
{
    static const QStringList pieces {
        u"k"_qs, u"K"_qs, u"\u212A"_qs, u"s"_qs, u"S"_qs, u"\u017F"_qs, u"ß"_qs, u"\u1E9E"_qs, u"ss"_qs,
        u"SS"_qs, u"\u0130"_qs, u"i"_qs, u"I"_qs, u"\u0131"_qs, u"é"_qs, u"É"_qs, u"e\u0301"_qs, u"Σ"_qs,
        u"σ"_qs, u"ς"_qs, u"a"_qs, u"A"_qs, u"b"_qs, u"B"_qs, u"Kat"_qs, u"kAT"_qs, u"Straße"_qs,
        u"STRASSE"_qs, u"İstanbul"_qs, u" "_qs, u"'"_qs, u"%"_qs, u"_"_qs, u"["_qs, u"]"_qs, u"-"_qs,
        u"+"_qs, u"1"_qs, u"發"_qs, u"熱"_qs, u"\uFFFD"_qs,
    };
    return pieces;
}

// Byte runs that are not valid UTF-8 or only look like it: a lone byte,
// a lone continuation byte, a cut sequence, overlong forms of "1", "a" and
// «發», an encoded surrogate, a code point above U+10FFFF and a NUL byte.
inline const std::vector<QByteArray> &invalidUtf8()
{
    static const std::vector<QByteArray> pieces {
        QByteArray("\xFF"), QByteArray("\x80"), QByteArray("\xE7\x99"), QByteArray("\xC0\xB1"),
        QByteArray("\xE0\x80\xB1"), QByteArray("\xC1\xA1"), QByteArray("\xF0\x87\x99\xBC"),
        QByteArray("\xED\xA0\x80"), QByteArray("\xF4\x90\x80\x80"), QByteArray("a\0b", 3),
    };
    return pieces;
}

inline QString randomText(QRandomGenerator &random, int length, const QStringList &pieces = alphabet())
{
    QString text;
    for (int i = 0; i < length; ++i)
        text += pieces.at(int(random.bounded(qsizetype(pieces.size()))));
    return text;
}

// One cell of a written table, with the storage class it gets.
struct Cell {
    enum Kind { Null, Integer, Real, Text, Blob } kind = Null;
    qint64 integer = 0;
    double real = 0;
    QByteArray bytes; // Text: UTF-8 (or any bytes); Blob: as is

    static Cell null() { return {}; }
    static Cell number(qint64 v) { return Cell{Integer, v, 0, {}}; }
    static Cell fraction(double v) { return Cell{Real, 0, v, {}}; }
    static Cell text(const QString &v) { return Cell{Text, 0, 0, v.toUtf8()}; }
    static Cell textBytes(const QByteArray &v) { return Cell{Text, 0, 0, v}; }
    static Cell blob(const QByteArray &v) { return Cell{Blob, 0, 0, v}; }
};
using Rows = std::vector<std::vector<Cell>>;

inline bool execute(sqlite3 *db, const char *sql)
{
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

inline void bindCell(sqlite3_stmt *stmt, int i, const Cell &cell)
{
    switch (cell.kind) {
    case Cell::Null: sqlite3_bind_null(stmt, i); break;
    case Cell::Integer: sqlite3_bind_int64(stmt, i, cell.integer); break;
    case Cell::Real: sqlite3_bind_double(stmt, i, cell.real); break;
    case Cell::Text: sqlite3_bind_text(stmt, i, cell.bytes.constData(), int(cell.bytes.size()), SQLITE_TRANSIENT); break;
    case Cell::Blob: sqlite3_bind_blob(stmt, i, cell.bytes.constData(), int(cell.bytes.size()), SQLITE_TRANSIENT); break;
    }
}

// Writes the file at path anew: runs createSql (any number of statements),
// then insertSql once per row with the row's cells bound as ?1, ?2...
inline bool writeTable(const QString &path, const char *createSql, const char *insertSql, const Rows &rows)
{
    QFile::remove(path);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        return false;
    }
    bool ok = execute(db, createSql) && execute(db, "BEGIN");
    sqlite3_stmt *insert = nullptr;
    ok = ok && sqlite3_prepare_v2(db, insertSql, -1, &insert, nullptr) == SQLITE_OK;
    for (std::size_t r = 0; ok && r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c)
            bindCell(insert, int(c + 1), rows[r][c]);
        ok = sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && execute(db, "COMMIT");
    sqlite3_close(db);
    return ok;
}

// Writes folder/jst.mdb with `rows` generated rows (every 50th NULL, every
// 61st empty), subjects long enough that sorting all rows spills to disk,
// and dates from only `dates` distinct values. Returns false on an error.
inline bool writeCorpus(const QString &folder, int rows, int dates, quint32 seed)
{
    QRandomGenerator random(seed);
    Rows table;
    table.reserve(std::size_t(rows));
    for (int r = 0; r < rows; ++r) {
        const QString subject = u"第%1篇 "_qs.arg(r) + QString(60, QLatin1Char('x'));
        const QString content = randomText(random, 5 + int(random.bounded(60)));
        const QString date = u"2000-01-%1 00:00:00"_qs.arg(1 + int(random.bounded(dates)), 2, 10, QLatin1Char('0'));
        table.push_back({Cell::text(subject), Cell::text(u"p%1.htm"_qs.arg(r)),
                         r % 50 == 7 ? Cell::null() : r % 61 == 5 ? Cell::text(u""_qs) : Cell::text(content),
                         Cell::text(date)});
    }
    return writeTable(folder + u"/jst.mdb"_qs,
                      "PRAGMA page_size=65536; CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)",
                      "INSERT INTO maindata VALUES(?1,?2,?3,?4)", table);
}

// Content made of latinAlphabet() pieces, now and then with invalid UTF-8
// between them (then stored as a BLOB).
inline Cell mixedContent(QRandomGenerator &random, int r)
{
    if (r % 23 == 4)
        return Cell::null();
    if (r % 29 == 6)
        return r % 2 ? Cell::text(u""_qs) : Cell::blob(QByteArray());
    if (r % 31 == 8)
        return r % 2 ? Cell::number(r * 11) : Cell::fraction(r + 0.5);
    if (r % 5 != 2)
        return Cell::text(randomText(random, 3 + int(random.bounded(30)), latinAlphabet()));
    QByteArray bytes;
    for (int i = 0, n = 2 + int(random.bounded(8)); i < n; ++i) {
        if (random.bounded(3) == 0)
            bytes += invalidUtf8().at(std::size_t(random.bounded(int(invalidUtf8().size()))));
        else
            bytes += randomText(random, 1 + int(random.bounded(4)), latinAlphabet()).toUtf8();
    }
    return random.bounded(4) == 0 ? Cell::textBytes(bytes) : Cell::blob(bytes);
}

// Writes folder/jst.mdb with Latin text in mixed case, NULL and empty
// content, content stored as BLOBs with invalid UTF-8 and as numbers,
// subjects and page paths that are NULL, numbers or BLOBs now and then,
// and dates of every storage class (ties among them).
inline bool writeMixedCorpus(const QString &folder, int rows, quint32 seed)
{
    QRandomGenerator random(seed);
    Rows table;
    for (int r = 0; r < rows; ++r) {
        Cell subject = Cell::text(u"Title %1 ẞ"_qs.arg(r));
        if (r % 17 == 3)
            subject = r % 2 ? Cell::null() : Cell::number(r);
        else if (r % 19 == 5)
            subject = Cell::blob(QByteArray("T\xFF") + QByteArray::number(r));
        const Cell htm = r % 13 == 9 ? Cell::null() : Cell::text(u"m%1.htm"_qs.arg(r));
        Cell date = Cell::text(u"2001-0%1-01"_qs.arg(1 + int(random.bounded(4))));
        switch (r % 11) {
        case 1: date = Cell::number(20010101 + int(random.bounded(2))); break;
        case 4: date = Cell::null(); break;
        case 7: date = Cell::fraction(2.5); break;
        case 9: date = Cell::blob(QByteArray("\x01\x02")); break;
        default: break;
        }
        table.push_back({subject, htm, mixedContent(random, r), date});
    }
    return writeTable(folder + u"/jst.mdb"_qs, "CREATE TABLE maindata(subject TEXT, htm TEXT, content, date)",
                      "INSERT INTO maindata VALUES(?1,?2,?3,?4)", table);
}

// Every content value of the table, in rowid order (NULL as a null QString).
inline QStringList contents(const QString &folder)
{
    QStringList out;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(folder + u"/jst.mdb"_qs).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT content FROM maindata ORDER BY _rowid_", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        out << (text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt, 0)) : QString());
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}

// Every content value as the matcher is handed it (nullopt for NULL), in
// result order: ordinal i of an index is element i.
inline std::vector<std::optional<QByteArray>> contentsInResultOrder(const QString &dbPath)
{
    std::vector<std::optional<QByteArray>> out;
    sqlite3 *db = nullptr;
    sqlite3_open_v2(QFile::encodeName(dbPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt *stmt = nullptr;
    sqlite3_prepare_v2(db, "SELECT content FROM maindata ORDER BY date DESC, _rowid_", -1, &stmt, nullptr);
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        if (sqlite3_column_type(stmt, 0) == SQLITE_NULL) {
            out.emplace_back();
            continue;
        }
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0));
        out.emplace_back(QByteArray(text ? text : "", sqlite3_column_bytes(stmt, 0)));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return out;
}
}
