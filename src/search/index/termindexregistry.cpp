#include "termindexregistry.h"

#include "termindexbuild.h"

#include <QDir>

TermIndexRegistry &TermIndexRegistry::instance()
{
    static TermIndexRegistry registry;
    return registry;
}

TermIndexRegistry::~TermIndexRegistry()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

std::shared_ptr<const TermIndex> TermIndexRegistry::indexFor(const QString &dbPath, const QString &keepFolder)
{
    const DatabaseStamp stamp = DatabaseStamp::of(dbPath);
    std::lock_guard lock(m_mutex);
    if (!m_enabled || stamp.path.isEmpty())
        return nullptr;
    if (m_ready && m_readyStamp == stamp)
        return m_ready;
    if (m_running)
        return nullptr; // one worker at a time; a newer stamp is seen again later
    if (m_workStamp == stamp && m_workFailed)
        return nullptr; // this very file could not be indexed; do not retry it
    startWorker(stamp, dbPath, keepFolder);
    return nullptr;
}

void TermIndexRegistry::startWorker(const DatabaseStamp &stamp, const QString &dbPath, const QString &keepFolder)
{
    if (m_worker.joinable())
        m_worker.join(); // finished already: m_running is false
    m_ready.reset();
    m_workStamp = stamp;
    m_workFailed = false;
    m_running = true;
    m_worker = std::thread(&TermIndexRegistry::work, this, stamp, dbPath, keepFolder);
}

void TermIndexRegistry::work(DatabaseStamp stamp, QString dbPath, QString keepFolder)
{
    const QString keptPath = keepFolder.isEmpty() ? QString()
                                                  : keepFolder + QLatin1Char('/') + TermIndexFile::fileNameFor(stamp);
    Result<PostingTable> table = keptPath.isEmpty() ? Result<PostingTable>(Failure{})
                                                    : TermIndexFile::load(keptPath, stamp);
    if (!table.ok()) {
        table = buildPostings(dbPath, m_cancel);
        // Keeping is a convenience for the next start: a folder that cannot
        // be written leaves the index in memory only.
        if (table.ok() && !keptPath.isEmpty() && QDir().mkpath(keepFolder))
            (void)TermIndexFile::save(keptPath, stamp, table.value());
    }
    std::lock_guard lock(m_mutex);
    if (table.ok() && DatabaseStamp::of(dbPath) == stamp) {
        m_ready = std::make_shared<const TermIndex>(std::move(table).value());
        m_readyStamp = stamp;
    } else {
        m_workFailed = true;
    }
    m_running = false;
}

void TermIndexRegistry::waitUntilIdle()
{
    std::unique_lock lock(m_mutex);
    if (m_worker.joinable() && !m_running) {
        m_worker.join();
        return;
    }
    std::thread worker = std::move(m_worker);
    lock.unlock();
    if (worker.joinable())
        worker.join();
}

void TermIndexRegistry::setEnabled(bool enabled)
{
    std::lock_guard lock(m_mutex);
    m_enabled = enabled;
}

void TermIndexRegistry::reset()
{
    waitUntilIdle();
    std::lock_guard lock(m_mutex);
    m_ready.reset();
    m_readyStamp = {};
    m_workStamp = {};
    m_workFailed = false;
}
