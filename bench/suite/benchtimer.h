#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

// Median wall time in milliseconds of `runs` calls of work.
inline double medianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Wall time in milliseconds of one call.
inline double onceMs(const std::function<void()> &work)
{
    return medianMs(1, work);
}
