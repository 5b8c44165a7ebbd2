// The Jet reader child on damaged files: the parent always gets rows or a
// Failure naming the file, within the time limit, and never crashes.

#include "jetdatabase.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

namespace {
constexpr int LimitMs = 5000;
// Starting, killing and reaping the child come on top of the limit.
constexpr int SlackMs = 6000;

void check(bool ok, const char *what)
{
    if (!ok) {
        std::fprintf(stderr, "fuzz_jetreader: %s\n", what);
        std::abort();
    }
}

long long countRows(sqlite3 *db)
{
    sqlite3_stmt *stmt = nullptr;
    check(sqlite3_prepare_v2(db, "select count(*), count(subject) >= 0 from maindata", -1, &stmt, nullptr) == SQLITE_OK,
          "loaded database has no maindata");
    check(sqlite3_step(stmt) == SQLITE_ROW, "row count cannot be read");
    const long long n = sqlite3_column_int64(stmt, 0);
    sqlite3_finalize(stmt);
    return n;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(u"jst.mdb"_qs);
    {
        QFile file(path);
        check(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the input file");
        check(file.write(reinterpret_cast<const char *>(data), qint64(size)) == qint64(size), "short write");
    }
    QElapsedTimer clock;
    clock.start();
    const auto db = loadJetDatabase(path, QStringLiteral(TAMVEX_FUZZ_READER), LimitMs);
    check(clock.elapsed() < LimitMs + SlackMs, "the parent waited past the time limit");
    if (db.ok()) {
        check(countRows(db.value().get()) >= 0, "no row count");
    } else {
        check(db.failure().number == FailureNumber::JetRead, "failure with another number");
        check(db.failure().description.contains(path), "failure does not name the file");
    }
    return 0;
}
