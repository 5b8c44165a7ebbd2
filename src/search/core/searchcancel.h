#pragma once

#include <atomic>

// The reader's wish to abandon a search, set on one thread (the window's)
// and read by the search on another. Once set it stays set: a token serves
// one search.
class SearchCancel {
public:
    void cancel() { m_cancelled.store(true, std::memory_order_relaxed); }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    // For the layers below the search run, which take the flag itself.
    const std::atomic<bool> *flag() const { return &m_cancelled; }

private:
    std::atomic<bool> m_cancelled{false};
};
