// Reading a model in a child process with little address space beyond what
// it was forked with, measuring the peak memory the reading added: a list
// reserved for a lying count cannot fit there, and running out of memory
// must end the read as an Error.
#pragma once

#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <functional>
#include <new>

constexpr uint64_t MIB = uint64_t{1} << 20;

struct Reading {
    int32_t result = 1;       // stays 1 when the child dies
    uint64_t addedBytes = 0;  // peak resident memory above the forked state
};

// Runs in the child: the peak is reset to what is resident at the start.
inline Reading measureReading(const std::function<int32_t()>& read, uint64_t addressRoom) {
    const uint64_t page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    uint64_t mapped = 0, resident = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    const bool measured = fscanf(statm, "%lu %lu", &mapped, &resident) == 2;
    fclose(statm);
    if (!measured) return {};
    rlimit room{mapped * page + addressRoom, mapped * page + addressRoom};
    setrlimit(RLIMIT_AS, &room);
    FILE* clearRefs = fopen("/proc/self/clear_refs", "w");
    fputs("5", clearRefs);
    fclose(clearRefs);
    Reading reading;
    reading.result = read();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    reading.addedBytes = static_cast<uint64_t>(usage.ru_maxrss) * 1024 - resident * page;
    return reading;
}

// `read` returns its parse result. The child never returns into the test: a
// reader that throws ends it, with no reading left in the memory it shares
// with the test.
inline Reading readInChild(const std::function<int32_t()>& read, uint64_t addressRoom = 128 * MIB) {
    void* shared = mmap(nullptr, sizeof(Reading), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    Reading* reading = new (shared) Reading;
    if (fork() == 0) {
        *reading = measureReading(read, addressRoom);
        _exit(0);
    }
    wait(nullptr);
    const Reading done = *reading;
    munmap(shared, sizeof(Reading));
    return done;
}
