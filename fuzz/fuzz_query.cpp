// Query box text -> statement -> run on a small SQLite jst.mdb.
// Holds for every text: the statement is the select over maindata that the
// builder makes; the run gives rows that exist in the table or a Failure
// with a number and a description; the database file is never changed.

#include "blanks.h"
#include "contentdatabase.h"
#include "fuzzinput.h"
#include "queryplan.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Fixture {
    QTemporaryDir dir;
    QString path;
    DatabaseLocation location;
    QByteArray hash;
    QSet<QString> rows; // subject + '\t' + htm
};

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_query: %s\n", what);
        std::abort();
    }
}

QByteArray hashOf(const QString &path)
{
    QFile file(path);
    check(file.open(QIODevice::ReadOnly), "database file cannot be read back");
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

void writeDatabase(Fixture &f)
{
    sqlite3 *db = nullptr;
    check(sqlite3_open(QFile::encodeName(f.path).constData(), &db) == SQLITE_OK, "cannot create database");
    const char *sql =
        "CREATE TABLE maindata(subject TEXT, htm TEXT, content TEXT, date TEXT);"
        "CREATE TABLE secret(x TEXT); INSERT INTO secret VALUES('never shown');"
        "INSERT INTO maindata VALUES('傷寒論 發熱','p01.htm','太陽病，發熱，頭痛，惡寒。','1990-01-01 00:00:00');"
        "INSERT INTO maindata VALUES('溫病','b\\p02.htm','溫病初起，發熱而渴。100% a_b [x]','2001-05-05 00:00:00');"
        "INSERT INTO maindata VALUES('醫者''s note','p03.htm','the physician''s note: ABC abc','1995-07-07 00:00:00');"
        "INSERT INTO maindata VALUES('空白','p04.htm',NULL,'2010-01-01 00:00:00');"
        "INSERT INTO maindata VALUES('空字串','p05.htm','','1970-01-01 00:00:00');"
        "INSERT INTO maindata VALUES('𠀋 字','p06.htm','古字𠀋在此 Ǆ ǅ ǆ ß','1980-01-01 00:00:00');";
    check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, "cannot fill database");
    sqlite3_close(db);
    f.rows = {u"傷寒論 發熱\tp01.htm"_qs, u"溫病\tb\\p02.htm"_qs, u"醫者's note\tp03.htm"_qs,
              u"空白\tp04.htm"_qs, u"空字串\tp05.htm"_qs, u"𠀋 字\tp06.htm"_qs};
}

Fixture &fixture()
{
    static Fixture *f = [] {
        auto *made = new Fixture;
        made->path = QDir(made->dir.path()).filePath(u"jst.mdb"_qs);
        writeDatabase(*made);
        made->location = DatabaseLocation::inFolder(made->dir.path());
        made->hash = hashOf(made->path);
        return made;
    }();
    return *f;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Fixture &f = fixture();
    const QueryPlan plan = buildQuery(trimBlanks(fuzzText(data, size)));
    // Whatever the reader typed stays inside the one select the builder writes.
    check(plan.SqlText.startsWith(u"select subject,htm from  maindata "_qs), "statement is not the select over maindata");

    const Result<ResultRows> rows = ContentDatabase::runStatement(f.location, plan.SqlText);
    if (rows.ok()) {
        check(plan.mode != SearchMode::ListAll || rows->size() == size_t(f.rows.size()), "list-all lost rows");
        for (const ResultRow &row : rows.value())
            check(f.rows.contains(row.subject + u'\t' + row.htm), "a row that is not in maindata");
    } else {
        check(rows.failure().number != 0 && !rows.failure().description.isEmpty(), "failure without number or text");
    }
    check(hashOf(f.path) == f.hash, "the database file changed");
    return 0;
}
