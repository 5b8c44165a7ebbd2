#pragma once

#include <atomic>
#include <thread>

// Peak resident memory of this process while an instance lives, sampled
// from /proc/self/status every 10 ms: all of it (VmRSS, mapped files
// included) and the anonymous part (RssAnon: heap and stacks, what a build
// allocates beyond the files it maps). ru_maxrss cannot tell one step's
// peak once an earlier step went higher.
class PeakMemory {
public:
    PeakMemory();
    ~PeakMemory();
    PeakMemory(const PeakMemory &) = delete;
    PeakMemory &operator=(const PeakMemory &) = delete;

    // Stops sampling; the peaks in MB.
    void stop();
    double rssMb() const { return m_rssKb / 1024.0; }
    double anonMb() const { return m_anonKb / 1024.0; }

private:
    void sample();

    std::atomic<bool> m_stop{false};
    std::atomic<long> m_rssKb{0};
    std::atomic<long> m_anonKb{0};
    std::thread m_thread;
};
