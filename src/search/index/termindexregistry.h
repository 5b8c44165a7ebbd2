#pragma once

#include "collectionindex.h"
#include "indexbuild.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// When an index is built: the desktop program builds it on a worker thread
// while the first searches scan; a short-lived process (the command-line
// search) only uses a kept index and builds when asked to.
enum class IndexBuilding { InBackground, OnRequest };

// The term index of the collection's database, kept as a file in a folder
// the owner names (the program's tmp folder) and bound to the database file
// as it is (FileStamp). Searches ask for it and never wait for a build: a
// kept file that fits is opened at once; otherwise they get none and scan.
// An index is never used for a database with pending writes (a non-empty
// -wal or -journal), for another file, or once a read of it failed its
// checksum (the damaged file is then built anew).
class TermIndexRegistry {
public:
    TermIndexRegistry(QString keepFolder, IndexBuilding building);
    ~TermIndexRegistry(); // cancels a running build and waits for it
    TermIndexRegistry(const TermIndexRegistry &) = delete;
    TermIndexRegistry &operator=(const TermIndexRegistry &) = delete;

    // The index made from the database file at dbPath as it is now, or
    // nullptr (and, building in the background, a build starts when none
    // runs). Never blocks on a build. An SQLite file is read by the build
    // itself; another file (Jet) only through rows, an open connection to
    // an in-memory copy of it: without one no build starts.
    std::shared_ptr<const CollectionIndex> indexFor(const QString &dbPath, std::shared_ptr<sqlite3> rows = nullptr);

    // Builds the index of dbPath on the calling thread unless a kept file
    // fits and reads back whole without a checksum error. Failure: the
    // database cannot be read or indexed, or the folder cannot be written.
    Result<std::shared_ptr<const CollectionIndex>> buildNow(const QString &dbPath,
                                                            const std::function<void(const BuildProgress &)> &progress = {},
                                                            std::shared_ptr<sqlite3> rows = nullptr);

    // Waits until no worker runs (tests and benchmarks).
    void waitUntilIdle();

private:
    std::shared_ptr<const CollectionIndex> openKept(const FileStamp &stamp);
    Status build(const QString &dbPath, const FileStamp &stamp, const std::function<void(const BuildProgress &)> &progress,
                 sqlite3 *rows);
    void startWorker(const QString &dbPath, const FileStamp &stamp, std::shared_ptr<sqlite3> rows);
    QString keptPath(const FileStamp &stamp) const;

    QString m_keepFolder;
    IndexBuilding m_building;
    std::mutex m_mutex;
    std::shared_ptr<const CollectionIndex> m_ready;
    FileStamp m_failedStamp; // a stamp whose build failed: not tried again
    std::thread m_worker;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_cancel{false};
};
