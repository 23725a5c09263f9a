#include "app/startup_timings.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

bool reporting = false;
bool reported = false;
Clock::time_point started;
Clock::time_point lastMark;
std::string phases;

double secondsBetween(Clock::time_point from, Clock::time_point to);

}  // namespace

void startTimings(bool report) {
    reporting = report;
    started = lastMark = Clock::now();
}

void endPhase(const char* name) {
    if (!reporting) return;
    const Clock::time_point now = Clock::now();
    char text[96];
    std::snprintf(text, sizeof text, "%s%s %.3f s", phases.empty() ? "" : ", ", name, secondsBetween(lastMark, now));
    phases += text;
    lastMark = now;
}

void reportTimings() {
    if (!reporting || reported) return;
    endPhase("first frame");
    reported = true;
    std::fprintf(stderr, "varnel: start-up: %s; %.3f s in all\n", phases.c_str(),
                 secondsBetween(started, Clock::now()));
}

namespace {

double secondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace
