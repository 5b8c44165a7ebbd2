#pragma once

#include "termindex.h"
#include "termindexfile.h"

#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

// The term index of the collection's database, made ready in the
// background. Searches ask for it and never wait: until it is ready (and
// whenever the database file has changed since) they get none and scan. The
// index is kept as a file in a folder the caller names (the program's tmp
// folder), bound to the database's path, size and modification time, so a
// later start maps it instead of building again; a folder that cannot be
// written only means the index lives in memory for this run.
class TermIndexRegistry {
public:
    static TermIndexRegistry &instance();

    // The ready index of the SQLite database at dbPath when it was made from
    // the file as it is now; otherwise nullptr, and a worker thread starts
    // to load the kept file from keepFolder or to build it (and to keep it
    // there; keepFolder empty keeps nothing). Never blocks on a build.
    std::shared_ptr<const TermIndex> indexFor(const QString &dbPath, const QString &keepFolder);

    // Waits until no worker runs (tests and benchmarks only).
    void waitUntilIdle();
    // Off: indexFor answers nullptr and starts nothing (benchmarks, tests).
    void setEnabled(bool enabled);
    // Forgets the ready index (tests: the next indexFor starts afresh).
    void reset();

    ~TermIndexRegistry();

private:
    TermIndexRegistry() = default;
    void startWorker(const DatabaseStamp &stamp, const QString &dbPath, const QString &keepFolder);
    void work(DatabaseStamp stamp, QString dbPath, QString keepFolder);

    std::mutex m_mutex;
    bool m_enabled = true;
    DatabaseStamp m_readyStamp;
    std::shared_ptr<const TermIndex> m_ready;
    DatabaseStamp m_workStamp; // what the running or last worker was for
    bool m_workFailed = false;
    std::thread m_worker;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_cancel{false};
};
