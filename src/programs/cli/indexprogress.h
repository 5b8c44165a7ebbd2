#pragma once

#include "indexbuild.h"

#include <QElapsedTimer>

#include <cstdio>

// A one-line progress bar for a foreground index build: records done, MB/s
// and the time left, redrawn at most ten times a second, only when the
// stream is a terminal (a script's log gets nothing).
class IndexProgress {
public:
    explicit IndexProgress(std::FILE *out);

    void show(const BuildProgress &progress);
    // Ends the line the bar was drawn on.
    void finish();

private:
    std::FILE *m_out;
    bool m_terminal;
    bool m_drawn = false;
    QElapsedTimer m_clock;
    qint64 m_lastDrawMs = -1000;
    BuildProgress m_last;
};
