#include "bench/reader/child_measurement.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace {

struct ChildReport {
    bool ok;
    int64_t triangles;
    double wallSeconds;
};

double seconds(const timeval& time) {
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

}  // namespace

Measurement measureInChild(const std::function<WorkResult()>& work) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    const pid_t child = fork();
    if (child < 0) return {};
    if (child == 0) {
        close(channel[0]);
        const auto start = std::chrono::steady_clock::now();
        const WorkResult result = work();
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        const ChildReport report{result.ok, result.triangles, elapsed.count()};
        const bool sent = write(channel[1], &report, sizeof report) == sizeof report;
        // Leave without tearing the readers' data down: that is not reading.
        _exit(sent ? 0 : 1);
    }
    close(channel[1]);
    ChildReport report{};
    const bool received = read(channel[0], &report, sizeof report) == sizeof report;
    close(channel[0]);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);

    Measurement measurement;
    measurement.ok = received && report.ok && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    measurement.triangles = report.triangles;
    measurement.wallSeconds = report.wallSeconds;
    measurement.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    measurement.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;  // kilobytes on Linux
    return measurement;
}
