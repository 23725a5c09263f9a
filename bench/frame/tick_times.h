// The time of every tick of a run, and the figures frame_bench and
// tick_floor print from them alike.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <numeric>
#include <vector>

// The ticks at the end of a run that tick_ms takes the mean of: about a
// second of the scene, once the drop has come to rest.
constexpr size_t LAST_TICKS = 60;

class TickTimes {
public:
    // Runs `tick` once and keeps how long it took.
    template <typename Tick>
    void time(Tick&& tick) {
        const auto start = std::chrono::steady_clock::now();
        tick();
        milliseconds_.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    // "tick_ms=" the mean of the last LAST_TICKS, "drop_tick_ms=" the mean
    // of all, "worst_tick_ms=" the longest.
    void print(const char* program, long long triangles) const {
        const size_t last = std::min(LAST_TICKS, milliseconds_.size());
        const auto mean = [](auto from, auto to) {
            return to > from ? std::accumulate(from, to, 0.0) / (to - from) : 0.0;
        };
        const double worst =
            milliseconds_.empty() ? 0.0 : *std::max_element(milliseconds_.begin(), milliseconds_.end());
        std::fprintf(stderr, "%s: triangles=%lld tick_ms=%.4f drop_tick_ms=%.4f worst_tick_ms=%.4f\n", program,
                     triangles, mean(milliseconds_.end() - last, milliseconds_.end()),
                     mean(milliseconds_.begin(), milliseconds_.end()), worst);
    }

private:
    std::vector<double> milliseconds_;
};
