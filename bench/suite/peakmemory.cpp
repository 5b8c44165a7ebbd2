#include "peakmemory.h"

#include <chrono>
#include <cstdio>

PeakMemory::PeakMemory()
{
    sample();
    m_thread = std::thread([this] {
        while (!m_stop.load()) {
            sample();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
}

PeakMemory::~PeakMemory() { stop(); }

void PeakMemory::stop()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    sample();
}

void PeakMemory::sample()
{
    std::FILE *status = std::fopen("/proc/self/status", "r");
    if (!status)
        return;
    char line[256];
    long kb = 0;
    while (std::fgets(line, sizeof line, status)) {
        if (std::sscanf(line, "VmRSS: %ld", &kb) == 1 && kb > m_rssKb)
            m_rssKb = kb;
        else if (std::sscanf(line, "RssAnon: %ld", &kb) == 1 && kb > m_anonKb)
            m_anonKb = kb;
    }
    std::fclose(status);
}
