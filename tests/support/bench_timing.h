#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <ctime>

// How long a benchmark's step takes: wall time and this process's processor time.
struct Time {
    double wall = 1e300; // ms
    double cpu = 1e300;  // ms of this process's processor time: what the step costs on a busy machine
};

// The best of a few runs, so that a stray pause does not count.
template <class F> Time best(int runs, F&& step) {
    Time t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer wall;
        const std::clock_t cpu = std::clock();
        wall.start();
        step();
        t.wall = std::min(t.wall, wall.nsecsElapsed() / 1e6);
        t.cpu = std::min(t.cpu, (std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC);
    }
    return t;
}
