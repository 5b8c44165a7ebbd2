#include "termindexregistry.h"

#include <QCoreApplication>

#include <QDir>
#include <QFile>

#include <exception>

TermIndexRegistry::TermIndexRegistry(QString keepFolder, IndexBuilding building)
    : m_keepFolder(std::move(keepFolder)), m_building(building)
{
}

TermIndexRegistry::~TermIndexRegistry()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

QString TermIndexRegistry::keptPath(const FileStamp &stamp) const
{
    return m_keepFolder + QLatin1Char('/') + IndexFile::fileNameFor(stamp);
}

std::shared_ptr<const CollectionIndex> TermIndexRegistry::openKept(const FileStamp &stamp)
{
    if (m_keepFolder.isEmpty())
        return nullptr;
    auto opened = CollectionIndex::open(keptPath(stamp), stamp);
    return opened.ok() ? std::shared_ptr<const CollectionIndex>(std::move(opened).value()) : nullptr;
}

std::shared_ptr<const CollectionIndex> TermIndexRegistry::indexFor(const QString &dbPath, std::shared_ptr<sqlite3> rows)
{
    if (m_keepFolder.isEmpty() || hasPendingWrites(dbPath))
        return nullptr;
    const FileStamp stamp = FileStamp::of(dbPath);
    if (!stamp.valid())
        return nullptr;
    std::lock_guard lock(m_mutex);
    if (m_ready && m_ready->damaged()) {
        // Built anew below; the damaged file must not be opened again.
        QFile::remove(keptPath(m_ready->stamp()));
        m_ready.reset();
    }
    if (m_ready && m_ready->stamp() == stamp)
        return m_ready;
    m_ready.reset();
    if (!m_running) {
        if (auto kept = openKept(stamp))
            return m_ready = kept;
        if (m_building == IndexBuilding::InBackground && !(m_failedStamp == stamp) && (stamp.sqlite || rows))
            startWorker(dbPath, stamp, std::move(rows));
    }
    return nullptr;
}

Status TermIndexRegistry::build(const QString &dbPath, const FileStamp &stamp,
                                const std::function<void(const BuildProgress &)> &progress, sqlite3 *rows)
{
    if (!QDir().mkpath(m_keepFolder))
        return Failure{FailureNumber::DatabaseOpen,
                       QCoreApplication::translate("TermIndexRegistry", "Could not create the folder '%1' for the index.").arg(m_keepFolder)};
    IndexFile::Writer writer(keptPath(stamp), stamp);
    if (!writer.open())
        return Failure{FailureNumber::DatabaseOpen,
                       QCoreApplication::translate("TermIndexRegistry", "Could not write the index into the folder '%1'.").arg(m_keepFolder)};
    BuildOptions options;
    options.cancel = &m_cancel;
    options.progress = progress;
    options.scratchFolder = m_keepFolder;
    // A connection is read on one thread only.
    if (rows)
        options.threads = 1;
    try {
        auto catalogue = buildIndex(IndexSource{rows ? QString() : dbPath, rows}, writer, options);
        if (!catalogue.ok())
            return catalogue.failure();
        // A file that changed while it was read gets another stamp: the
        // index made from it would never be opened, so it is not kept.
        if (!(FileStamp::of(dbPath) == stamp) || hasPendingWrites(dbPath))
            return Failure{FailureNumber::DatabaseOpen,
                           QCoreApplication::translate("TermIndexRegistry", "The database '%1' changed while it was indexed.").arg(dbPath)};
        return writer.finish(catalogue.value());
    } catch (const std::exception &e) {
        // Out of memory or the like: the program goes on scanning.
        return Failure{FailureNumber::DatabaseOpen,
                       QCoreApplication::translate("TermIndexRegistry", "Could not index the database '%1': %2").arg(dbPath, QString::fromUtf8(e.what()))};
    }
}

void TermIndexRegistry::startWorker(const QString &dbPath, const FileStamp &stamp, std::shared_ptr<sqlite3> rows)
{
    if (m_worker.joinable())
        m_worker.join(); // finished already: m_running is false
    m_running = true;
    m_worker = std::thread([this, dbPath, stamp, rows = std::move(rows)] {
        const Status built = build(dbPath, stamp, {}, rows.get());
        std::lock_guard lock(m_mutex);
        if (!built.ok())
            m_failedStamp = stamp;
        m_running = false;
    });
}

Result<std::shared_ptr<const CollectionIndex>> TermIndexRegistry::buildNow(
    const QString &dbPath, const std::function<void(const BuildProgress &)> &progress, std::shared_ptr<sqlite3> rows)
{
    waitUntilIdle();
    if (hasPendingWrites(dbPath))
        return Failure{FailureNumber::DatabaseOpen,
                       QCoreApplication::translate("TermIndexRegistry", "The database '%1' has changes not yet written into it (a -wal or -journal file "
                                      "beside it). Close the program that writes it, then index again.")
                           .arg(dbPath)};
    const FileStamp stamp = FileStamp::of(dbPath);
    if (!stamp.valid())
        return Failure{FailureNumber::DatabaseOpen, QCoreApplication::translate("TermIndexRegistry", "Could not find file '%1'.").arg(dbPath)};
    std::shared_ptr<const CollectionIndex> kept = openKept(stamp);
    if (kept && kept->readsBackWhole())
        return kept;
    kept.reset();
    {
        std::lock_guard lock(m_mutex);
        m_ready.reset();
    }
    if (!stamp.sqlite && !rows)
        return Failure{FailureNumber::DatabaseOpen, QCoreApplication::translate("TermIndexRegistry", "The database '%1' is not an SQLite file.").arg(dbPath)};
    const Status built = build(dbPath, stamp, progress, rows.get());
    if (!built.ok())
        return built.failure();
    kept = openKept(stamp);
    if (!kept)
        return Failure{FailureNumber::DatabaseOpen, QCoreApplication::translate("TermIndexRegistry", "The index of '%1' could not be read back.").arg(dbPath)};
    std::lock_guard lock(m_mutex);
    return m_ready = kept;
}

void TermIndexRegistry::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    std::thread worker = std::move(m_worker);
    lock.unlock();
    if (worker.joinable())
        worker.join();
}
