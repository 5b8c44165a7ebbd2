#pragma once

// Reading the in-memory copy of maindata back in the shape of the
// fixtures' ground-truth files.

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QStringList>
#include <QTimeZone>

#include <sqlite3.h>

#include <cmath>

// One row as the .expected.tsv files give it: subject, htm, the content's
// UTF-16 length and SHA-256 of its UTF-8 form (or \N), the date to the second.
inline QString describeRow(sqlite3_stmt *row)
{
    auto text = [row](int i) {
        if (sqlite3_column_type(row, i) == SQLITE_NULL)
            return u"\\N"_qs;
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(row, i)), sqlite3_column_bytes(row, i));
    };
    QStringList fields{text(0), text(1)};
    if (sqlite3_column_type(row, 2) == SQLITE_NULL) {
        fields << u"\\N"_qs << u"\\N"_qs;
    } else {
        const QByteArray utf8(reinterpret_cast<const char *>(sqlite3_column_text(row, 2)), sqlite3_column_bytes(row, 2));
        fields << QString::number(QString::fromUtf8(utf8).size())
               << QString::fromLatin1(QCryptographicHash::hash(utf8, QCryptographicHash::Sha256).toHex());
    }
    if (sqlite3_column_type(row, 3) != SQLITE_FLOAT) {
        fields << u"(date not REAL)"_qs;
    } else {
        const double days = sqlite3_column_double(row, 3);
        const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), QTimeZone::utc());
        fields << epoch.addSecs(std::llround(days * 86400.0)).toString(u"yyyy-MM-ddTHH:mm:ss"_qs);
    }
    return fields.join(u'\t');
}

// Every row of maindata in insertion order, described as above.
inline QStringList describeTable(sqlite3 *db)
{
    QStringList lines;
    sqlite3_stmt *row = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT subject, htm, content, date FROM maindata ORDER BY rowid", -1, &row, nullptr) != SQLITE_OK)
        return {u"(query failed)"_qs};
    while (sqlite3_step(row) == SQLITE_ROW)
        lines << describeRow(row);
    sqlite3_finalize(row);
    return lines;
}

// The data lines of a ground-truth file (header dropped).
inline QStringList expectedLines(const QString &tsvPath)
{
    QFile file(tsvPath);
    if (!file.open(QIODevice::ReadOnly))
        return {u"(cannot read "_qs + tsvPath + u')'};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    if (!lines.isEmpty())
        lines.removeFirst();
    return lines;
}
