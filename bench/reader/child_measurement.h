// Runs one measurement in a forked child, so that each reader's peak memory
// is its own and no reader inherits another's heap.
#pragma once

#include <cstdint>
#include <functional>

struct WorkResult {
    bool ok = false;
    int64_t triangles = 0;
};

struct Measurement {
    bool ok = false;
    int64_t triangles = 0;
    double wallSeconds = 0;  // around the work itself
    double cpuSeconds = 0;   // user and system time of the whole child
    double peakMegabytes = 0;
};

Measurement measureInChild(const std::function<WorkResult()>& work);
