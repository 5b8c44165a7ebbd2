#pragma once

#include "indexbuildrun.h"

#include <cstdint>
#include <utility>
#include <vector>

// A binary min-heap of run numbers by (current key, run number), so that
// runs sharing a key leave it in ordinal order.
class MergeHeap {
public:
    explicit MergeHeap(const std::vector<RunCursor> &runs) : m_runs(runs) {}

    void push(std::uint32_t run)
    {
        m_heap.push_back(run);
        for (std::size_t i = m_heap.size() - 1; i > 0;) {
            const std::size_t parent = (i - 1) / 2;
            if (!less(m_heap[i], m_heap[parent]))
                break;
            std::swap(m_heap[i], m_heap[parent]);
            i = parent;
        }
    }
    bool empty() const { return m_heap.empty(); }
    std::uint32_t top() const { return m_heap.front(); }
    // The top run moved on: put it where its new key belongs, or drop it.
    void settleTop(bool exhausted)
    {
        if (exhausted) {
            m_heap.front() = m_heap.back();
            m_heap.pop_back();
        }
        const std::size_t n = m_heap.size();
        for (std::size_t i = 0;;) {
            std::size_t least = i;
            const std::size_t l = 2 * i + 1, r = l + 1;
            if (l < n && less(m_heap[l], m_heap[least]))
                least = l;
            if (r < n && less(m_heap[r], m_heap[least]))
                least = r;
            if (least == i)
                return;
            std::swap(m_heap[i], m_heap[least]);
            i = least;
        }
    }

private:
    bool less(std::uint32_t a, std::uint32_t b) const
    {
        const TextKeys::Key ka = m_runs[a].key(), kb = m_runs[b].key();
        return ka < kb || (ka == kb && a < b);
    }

    const std::vector<RunCursor> &m_runs;
    std::vector<std::uint32_t> m_heap;
};
