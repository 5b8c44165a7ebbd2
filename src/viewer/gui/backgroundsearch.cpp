#include "backgroundsearch.h"

#include <QEventLoop>
#include <QThread>

#include <algorithm>

struct BackgroundSearch::Run {
    SearchCancel cancel;
    SearchOutcome outcome; // written by the worker, read once it has finished
    QThread *worker = nullptr;
};

BackgroundSearch::BackgroundSearch(QObject *parent) : QObject(parent)
{
}

BackgroundSearch::~BackgroundSearch()
{
    abandonAndWait();
}

SearchOutcome BackgroundSearch::run(const QueryPlan &plan, const DatabaseLocation &location, TermIndexRegistry *index,
                                    bool mayTakeEvents)
{
    auto job = std::make_shared<Run>();
    // One search reads the collection at a time: the term index checks its
    // blocks on first use, and a Jet file's kept copy is one connection. The
    // searches this one replaces have been abandoned and stop within
    // moments; their threads live in the runs below this one on the stack.
    std::vector<QThread *> earlier;
    for (const auto &run : m_runs)
        earlier.push_back(run->worker);
    const std::unique_ptr<QThread> worker(QThread::create([job, plan, location, index, earlier] {
        for (QThread *before : earlier)
            before->wait();
        job->outcome = runSearch(plan, location, index, &job->cancel);
    }));
    job->worker = worker.get();
    m_runs.push_back(job);
    worker->start();
    if (!worker->wait(PatienceMs) && mayTakeEvents) {
        QEventLoop loop;
        connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
        // A worker that finished before the connection was made sends no
        // more signal to it.
        if (!worker->isFinished()) {
            if (m_waiting++ == 0)
                Q_EMIT waitingChanged(true);
            loop.exec();
            if (--m_waiting == 0)
                Q_EMIT waitingChanged(false);
        }
    }
    worker->wait();
    m_runs.erase(std::find(m_runs.begin(), m_runs.end(), job));
    if (job->cancel.cancelled())
        return SearchOutcome{SearchEnd::Cancelled, {}, {}, {}};
    return std::move(job->outcome);
}

void BackgroundSearch::abandon()
{
    for (const auto &job : m_runs)
        job->cancel.cancel();
}

void BackgroundSearch::abandonAndWait()
{
    abandon();
    for (const auto &job : m_runs)
        job->worker->wait();
}
