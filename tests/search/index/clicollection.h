#pragma once

// Collection folders for whole-process tests of tamvex-cli: a jst.mdb made
// with any schema, the tool run on the folder, and what a script sees of a
// search as one text, so that two outcomes compare with a readable diff.

#include "../testdatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <sqlite3.h>

#include <vector>

namespace CliCollection {

// Rows numbered from 1 as SQLite numbers them: «發熱» in every fourth from
// the second (50 of 200), «頭痛» in every third, «惡寒» in every fifth,
// «ABc» in every seventh, NULL and empty content now and then (never with
// «發熱»), and six dates shared by many rows. Every content starts with
// «脈浮», so a row can trade one two-character word for another and keep
// the file's size.
inline std::vector<TestRecord> corpus(int count)
{
    std::vector<TestRecord> records;
    for (int n = 1; n <= count; ++n) {
        QString content = u"第%1筆：脈浮"_qs.arg(n);
        if (n % 4 == 2)
            content += u"，發熱"_qs;
        if (n % 3 == 0)
            content += u"，頭痛"_qs;
        if (n % 5 == 1)
            content += u"，惡寒"_qs;
        if (n % 7 == 4)
            content += u"，ABc"_qs;
        QVariant stored = content;
        if (n % 40 == 3)
            stored = QVariant();
        else if (n % 40 == 7)
            stored = QString(u""_qs);
        records.push_back({u"第%1篇"_qs.arg(n, 3, 10, QLatin1Char('0')), u"books\\p%1.htm"_qs.arg(n), stored,
                           u"19%1-03-03 00:00:00"_qs.arg(90 + n % 6)});
    }
    return records;
}

inline const QString StandardTable = u"CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT)"_qs;
inline const QString StandardInsert = u"INSERT INTO maindata VALUES(:subject, :htm, :content, :date)"_qs;

// One connection to an SQLite file. Statements may use the named values
// :subject, :htm, :content, :date of a record and :n, its number from 1.
class Sql {
public:
    explicit Sql(const QString &path)
    {
        m_ok = sqlite3_open(QFile::encodeName(path).constData(), &m_db) == SQLITE_OK;
        sqlite3_busy_timeout(m_db, 10000);
    }
    ~Sql() { sqlite3_close(m_db); }
    Sql(const Sql &) = delete;
    Sql &operator=(const Sql &) = delete;

    // Runs one or more statements without values.
    bool exec(const QString &sql)
    {
        return m_ok && sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    // Runs one statement with a record's values bound.
    bool exec(const QString &sql, const TestRecord &record, int n)
    {
        sqlite3_stmt *statement = nullptr;
        if (!m_ok || sqlite3_prepare_v2(m_db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            return false;
        const auto bind = [statement](const char *name, const QVariant &value) {
            const int at = sqlite3_bind_parameter_index(statement, name);
            const QByteArray text = value.toString().toUtf8();
            if (at > 0 && value.isNull())
                sqlite3_bind_null(statement, at);
            else if (at > 0)
                sqlite3_bind_text(statement, at, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        };
        bind(":subject", record.subject);
        bind(":htm", record.htm);
        bind(":content", record.content);
        bind(":date", record.date);
        if (const int at = sqlite3_bind_parameter_index(statement, ":n"); at > 0)
            sqlite3_bind_int(statement, at, n);
        const bool ok = sqlite3_step(statement) == SQLITE_DONE;
        sqlite3_finalize(statement);
        return ok;
    }

private:
    sqlite3 *m_db = nullptr;
    bool m_ok = false;
};

// Writes folder/jst.mdb anew: the table, then the records in order, one
// transaction. Returns false on any SQLite error.
inline bool writeCollection(const QString &folder, const std::vector<TestRecord> &records,
                            const QString &table = StandardTable, const QString &insert = StandardInsert)
{
    QFile::remove(folder + u"/jst.mdb"_qs);
    Sql sql(folder + u"/jst.mdb"_qs);
    bool ok = sql.exec(u"BEGIN; "_qs + table);
    for (int i = 0; ok && i < int(records.size()); ++i)
        ok = sql.exec(insert, records[std::size_t(i)], i + 1);
    return ok && sql.exec(u"COMMIT"_qs);
}

struct Run {
    bool crashed = false;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline Run runCli(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(TAMVEX_INSTALL_DIR "/tamvex-cli"), args);
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
    }
    return Run{process.exitStatus() != QProcess::NormalExit, process.exitCode(), process.readAllStandardOutput(),
               process.readAllStandardError()};
}

inline Run search(const QString &folder, const QString &query)
{
    return runCli({u"search"_qs, u"--program-folder"_qs, folder, query});
}

// What a script sees of a search: how the process ended, its rows and its
// message.
inline QString outcome(const QString &folder, const QString &query)
{
    const Run run = search(folder, query);
    if (run.crashed)
        return u"ended by a signal\n"_qs + QString::fromUtf8(run.err);
    return u"exit %1\n"_qs.arg(run.exitCode) + QString::fromUtf8(run.out) + u"stderr: "_qs + QString::fromUtf8(run.err);
}

// The titles of a search's rows, in the order printed.
inline QStringList titles(const QString &folder, const QString &query)
{
    QStringList list;
    for (const QString &line : QString::fromUtf8(search(folder, query).out).split(u'\n', Qt::SkipEmptyParts))
        list << line.section(u'\t', 0, 0);
    return list;
}

// The index files kept in folder/tmp, finished or not, as full paths.
inline QStringList keptIndexFiles(const QString &folder)
{
    QStringList paths;
    const QDir tmp(folder + u"/tmp"_qs);
    for (const QString &name : tmp.entryList({u"tamvex-index-*"_qs}, QDir::Files | QDir::Hidden))
        paths << tmp.filePath(name);
    return paths;
}

// Copies folder/jst.mdb alone into another folder: a search there scans.
inline bool copyForScan(const QString &folder, const QString &into)
{
    QFile::remove(into + u"/jst.mdb"_qs);
    return QFile::copy(folder + u"/jst.mdb"_qs, into + u"/jst.mdb"_qs);
}
}

// Builds folder's kept index with `tamvex-cli index`; skips the test while
// the tool has no such command (it answers with its usage then).
#define BUILD_INDEX(folder)                                                                                    \
    do {                                                                                                       \
        const CliCollection::Run built = CliCollection::runCli({u"index"_qs, u"--program-folder"_qs, (folder)}); \
        if (built.exitCode == 64)                                                                              \
            QSKIP("tamvex-cli has no index command");                                                          \
        QVERIFY2(!built.crashed && built.exitCode == 0, built.err.constData());                                \
        QVERIFY(!CliCollection::keptIndexFiles(folder).isEmpty());                                             \
    } while (false)
