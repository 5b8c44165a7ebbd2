#pragma once

#include "searchrun.h"

#include <QObject>

#include <memory>
#include <vector>

class TermIndexRegistry;

// Runs the window's searches on worker threads so that a long one can be
// abandoned while the window goes on taking events. A search that ends
// within a moment returns having processed no event at all, as a search on
// the window's own thread would.
class BackgroundSearch : public QObject {
    Q_OBJECT
public:
    explicit BackgroundSearch(QObject *parent = nullptr);
    ~BackgroundSearch() override; // abandons what still runs and waits for it

    // How long a search runs before the window takes events meanwhile.
    static constexpr int PatienceMs = 200;

    // Runs the search on a worker thread and returns its outcome. Past
    // PatienceMs it waits in a local event loop when mayTakeEvents (the
    // window is on screen), else without taking events. A search abandoned
    // before it ended returns SearchEnd::Cancelled, whatever it found. The
    // registry must outlive the call or abandonAndWait().
    SearchOutcome run(const QueryPlan &plan, const DatabaseLocation &location, TermIndexRegistry *index,
                      bool mayTakeEvents);

    // Abandons every search still running (a new search, Escape); each
    // run() then returns once its worker has stopped, within moments.
    void abandon();
    // Abandons and waits until no worker runs: before the registry the
    // searches read is dropped.
    void abandonAndWait();
    // True while a run() is under way.
    bool isRunning() const { return !m_runs.empty(); }

Q_SIGNALS:
    // A long search began to be waited for (true) or that wait ended.
    void waitingChanged(bool waiting);

private:
    struct Run;
    // Nested runs (a new search started while one was waited for): the
    // latest last.
    std::vector<std::shared_ptr<Run>> m_runs;
    int m_waiting = 0;
};
