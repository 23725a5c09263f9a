// A model file may cost at most 64 MiB + 8 times its size in memory, and no
// count written in it may crash the reader. Each file is read in a child
// process with little address space beyond what it was forked with: a list
// reserved for a lying count cannot fit there, and running out of memory
// must end the read as an Error. (A line of many megabytes needs room for
// its tokens, reserved well before they are all written.)
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "tests/mqo/model_text.h"

namespace {

constexpr uint64_t MIB = uint64_t{1} << 20;

struct Reading {
    int32_t result = 1;       // stays 1 when the child dies
    uint64_t addedBytes = 0;  // peak resident memory above the forked state
};

// Runs in the child: the peak is reset to what is resident at the start.
Reading measureReading(FILE* file, ReadingMode mode, uint64_t addressRoom) {
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
    rewind(file);
    Reading reading;
    reading.result = ModelDocument(ModelData{}, file, mode).parse();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    reading.addedBytes = static_cast<uint64_t>(usage.ru_maxrss) * 1024 - resident * page;
    return reading;
}

// The child never returns into the test: a reader that throws ends it, with
// no reading left in the memory it shares with the test.
Reading readInChild(FILE* file, ReadingMode mode, uint64_t addressRoom) {
    void* shared = mmap(nullptr, sizeof(Reading), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    Reading* reading = new (shared) Reading;
    if (fork() == 0) {
        *reading = measureReading(file, mode, addressRoom);
        _exit(0);
    }
    wait(nullptr);
    const Reading done = *reading;
    munmap(shared, sizeof(Reading));
    return done;
}

std::string repeat(const std::string& text, size_t times) {
    std::string all;
    for (size_t i = 0; i < times; ++i) all += text;
    return all;
}

}  // namespace

TEST(BoundedMemory, anyFileCostsAtMost64MiBPlusEightTimesItsSize) {
    struct Case {
        const char* what;
        std::string text;
        uint64_t sparseSize;  // zeros extend the file to this size; 0 keeps the text's
        int32_t result;
        ReadingMode mode = ReadingMode::Classic;
        uint64_t addressRoom = 128 * MIB;
    } cases[] = {
        {"face head of 2^31 faces", HEADER + "Object {\n face 2147483647 {\n", 192 * MIB, ParseEof},
        {"vertex head of 2^31 vertices", HEADER + "Object {\n vertex 2147483647 {\n", 192 * MIB, ParseEof},
        {"a whole line of zeros beyond the address space", HEADER + "Object {\n face 2147483647 {\n", 192 * MIB,
         ParseEof, ReadingMode::Model},
        {"binary vertices beyond the address space", HEADER + "Object {\n BVertex 1 {\n  Vector 2147483647 [ 12 ]\n",
         256 * MIB, ParseError},
        {"vertex heads of 4 MiB lists holding one vertex each",
         HEADER + repeat("Object {\n vertex 262144 {\n 1 2 3\n }\n}\n", 1000) + std::string(MIB, '\n'), 0, ParseOk},
        {"tiny material lines", HEADER + "Material 1 {\n" + repeat("a\n", 2000000) + "}\n", 0, ParseOk},
        {"tiny objects", HEADER + repeat("Object \"o\" {\n}\n", 300000), 0, ParseOk},
        {"tiny faces", HEADER + "Object {\n face 1 {\n" + repeat("0 V()\n", 3500000) + " }\n}\n", 0, ParseOk},
        {"a face of 12 million corners on one line, read from its tokens",
         HEADER + "Object {\n face 1 {\n 12000000 V(" + repeat("1 2 3 ", 4000000) + ") \"\"\n", 0, ParseEof,
         ReadingMode::Model, 512 * MIB},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FILE* file = tmpfile();
        fwrite(c.text.data(), 1, c.text.size(), file);
        fflush(file);
        if (c.sparseSize > 0 && ftruncate(fileno(file), static_cast<off_t>(c.sparseSize)) != 0) ADD_FAILURE();
        Reading reading = readInChild(file, c.mode, c.addressRoom);
        fclose(file);
        EXPECT_EQ(reading.result, c.result);
        EXPECT_LE(reading.addedBytes, 64 * MIB + 8 * std::max<uint64_t>(c.sparseSize, c.text.size()));
    }
}
