#include "jetdatabase.h"

#include <QCoreApplication>

#include "jetreaderprocess.h"
#include "jetsqliteloader.h"
#include "jetwireparser.h"

#include "filestamp.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

namespace {

const QString ReaderName = QStringLiteral("tamvex-jet-reader");

// What the reader can do: most failures are the file's; a missing reader
// program is the installation's.
QString damagedAdvice()
{
    return QCoreApplication::translate("JetDatabase",
                                       " Install an undamaged copy of the collection's database file jst.mdb in the program folder.");
}

QString reinstallAdvice()
{
    return QCoreApplication::translate("JetDatabase", " Install the program again.");
}

Failure fileFailure(const QString &path, const QString &why, const QString &advice = damagedAdvice())
{
    const bool ended = why.endsWith(u'.') || why.endsWith(u'\u3002');
    const QString sentence = ended ? why : why + QCoreApplication::translate("JetDatabase", ".", "the mark that ends a reason");
    return Failure{FailureNumber::JetRead,
                   QCoreApplication::translate("JetDatabase", "Could not read the Jet database '%1': %2").arg(path, sentence) + advice};
}

struct CachedDatabase {
    FileStamp stamp;
    std::shared_ptr<sqlite3> db;
};

QMutex cacheMutex;
QHash<QString, CachedDatabase> &cache()
{
    static QHash<QString, CachedDatabase> entries;
    return entries;
}
}

bool isJetFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray mark = file.read(19).mid(4, 15);
    return mark == QByteArrayLiteral("Standard Jet DB") || mark == QByteArrayLiteral("Standard ACE DB");
}

QString jetReaderProgram()
{
    const QString exe = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString beside = QFileInfo(exe).absoluteDir().filePath(ReaderName);
    if (QFileInfo(beside).isExecutable())
        return beside;
#ifdef TAMVEX_INSTALL_DIR
    const QString installed = QDir(QStringLiteral(TAMVEX_INSTALL_DIR)).filePath(ReaderName);
    if (QFileInfo(installed).isExecutable())
        return installed;
#endif
    return beside;
}

Result<std::shared_ptr<sqlite3>> loadJetDatabase(const QString &path, const QString &readerProgram, int timeoutMs,
                                                 const std::atomic<bool> *cancel)
{
    if (!QFileInfo(path).isFile())
        return fileFailure(path, QCoreApplication::translate("JetDatabase", "the file does not exist."));
    if (!isJetFile(path))
        return fileFailure(path, QCoreApplication::translate("JetDatabase", "the file is not a Jet database or cannot be read."));
    JetSqliteLoader loader;
    if (Status started = loader.begin(); !started)
        return fileFailure(path, started.failure().description);
    JetWireParser parser(loader);
    JetReaderProcess process(readerProgram, path, timeoutMs, cancel);
    Status read = process.run(parser);
    if (!read && isInterrupted(read.failure()))
        return read.failure();
    if (!read)
        return fileFailure(path, read.failure().description,
                           QFileInfo(readerProgram).isExecutable() ? damagedAdvice() : reinstallAdvice());
    auto db = loader.finish();
    if (!db)
        return fileFailure(path, db.failure().description);
    return db;
}

Result<std::shared_ptr<sqlite3>> openJetDatabase(const QString &path, int timeoutMs, const std::atomic<bool> *cancel)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty())
        return fileFailure(path, QCoreApplication::translate("JetDatabase", "the file does not exist."));
    QMutexLocker lock(&cacheMutex);
    const FileStamp before = FileStamp::of(canonical);
    const auto hit = cache().constFind(canonical);
    if (hit != cache().constEnd() && hit->stamp == before)
        return hit->db;
    cache().remove(canonical);
    auto db = loadJetDatabase(canonical, jetReaderProgram(), timeoutMs, cancel);
    // A file that changed while it was read is not kept: its rows may mix both states.
    if (db && FileStamp::of(canonical) == before)
        cache().insert(canonical, CachedDatabase{before, db.value()});
    return db;
}
