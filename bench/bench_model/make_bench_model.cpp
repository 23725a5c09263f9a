// make_bench_model OUTPUT_DIR: writes bench.mqo, bench.obj and bench.mtl into
// OUTPUT_DIR. A file already there with exactly the size it would get is
// left alone, so benchmark runs after the first skip the minutes of writing.
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "bench/bench_model/bench_files.h"

namespace {

namespace fs = std::filesystem;

struct BenchFile {
    const char* name;
    void (*write)(TextSink&);
};

bool writeWhole(const fs::path& path, const BenchFile& file);

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fputs("usage: make_bench_model OUTPUT_DIR\n", stderr);
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    const BenchFile files[] = {
        {"bench.mqo", writeBenchMqo}, {"bench.obj", writeBenchObj}, {"bench.mtl", writeBenchMtl}};
    for (const BenchFile& file : files) {
        const fs::path path = folder / file.name;
        TextSink counter;
        file.write(counter);
        if (fs::is_regular_file(path, error) && fs::file_size(path, error) == counter.size()) continue;
        if (!writeWhole(path, file)) {
            fprintf(stderr, "make_bench_model: cannot write %s\n", path.c_str());
            return 1;
        }
        printf("make_bench_model: wrote %s (%zu bytes)\n", path.c_str(), counter.size());
    }
    return 0;
}

namespace {

// Written beside the target and renamed at the end, so that an interrupted
// run never leaves a file that a later run would take as finished.
bool writeWhole(const fs::path& path, const BenchFile& file) {
    const fs::path partial = path.string() + ".partial";
    FILE* out = fopen(partial.c_str(), "wb");
    if (out == nullptr) return false;
    bool written;
    {
        TextSink sink(out);
        file.write(sink);
        written = sink.finish();
    }
    written = fclose(out) == 0 && written;
    std::error_code error;
    if (written) fs::rename(partial, path, error);
    const bool renamed = written && !error;
    if (!renamed) fs::remove(partial, error);
    return renamed;
}

}  // namespace
