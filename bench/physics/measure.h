// Runs one measurement in a child process of its own, so that each peak
// memory figure belongs to that measurement alone.
#pragma once

#include <functional>

// The child's peak resident memory in KiB, as getrusage reports it.
long peakMemoryKib();
// Seconds on a steady clock.
double secondsNow();
// Runs `measurement` in a forked child, which prints its own figures;
// returns false when the child failed.
bool inChildProcess(const std::function<void()>& measurement);
