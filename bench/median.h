// The middle of a benchmark's timings, which one slow run out of many
// (another process woken on the shared cores) does not move.
#pragma once

#include <algorithm>
#include <vector>

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}
