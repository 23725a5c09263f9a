// make_bench_model OUTPUT_DIR [TRIANGLES]: writes bench.mqo, bench.obj and
// bench.mtl of two million triangles into OUTPUT_DIR; with TRIANGLES, only
// the model of about that many triangles, as bench-TRIANGLES.mqo. A file
// already there with exactly the size it would get is left alone, so
// benchmark runs after the first skip the minutes of writing.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "bench/bench_model/bench_files.h"

namespace {

namespace fs = std::filesystem;

struct BenchFile {
    std::string name;
    void (*write)(TextSink&, const BenchShape&);
};

void writeMtl(TextSink& out, const BenchShape&);
bool writeWhole(const fs::path& path, const BenchFile& file, const BenchShape& shape);

}  // namespace

int main(int argc, char** argv) {
    const int64_t triangles = argc == 3 ? readTriangleCount(argv[2]) : 0;
    if (argc < 2 || argc > 3 || (argc == 3 && triangles == 0)) {
        fputs("usage: make_bench_model OUTPUT_DIR [TRIANGLES]\n", stderr);
        return 2;
    }
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    BenchShape shape;
    std::vector<BenchFile> files;
    if (argc == 3) {
        shape = benchShapeFor(triangles);
        files = {{"bench-" + std::string(argv[2]) + ".mqo", writeBenchMqo}};
    } else {
        files = {{"bench.mqo", writeBenchMqo}, {"bench.obj", writeBenchObj}, {"bench.mtl", writeMtl}};
    }
    for (const BenchFile& file : files) {
        const fs::path path = folder / file.name;
        TextSink counter;
        file.write(counter, shape);
        if (fs::is_regular_file(path, error) && fs::file_size(path, error) == counter.size()) continue;
        if (!writeWhole(path, file, shape)) {
            fprintf(stderr, "make_bench_model: cannot write %s\n", path.c_str());
            return 1;
        }
        printf("make_bench_model: wrote %s (%zu bytes)\n", path.c_str(), counter.size());
    }
    return 0;
}

namespace {

void writeMtl(TextSink& out, const BenchShape&) {
    writeBenchMtl(out);
}

// Written beside the target and renamed at the end, so that an interrupted
// run never leaves a file that a later run would take as finished.
bool writeWhole(const fs::path& path, const BenchFile& file, const BenchShape& shape) {
    const fs::path partial = path.string() + ".partial";
    FILE* out = fopen(partial.c_str(), "wb");
    if (out == nullptr) return false;
    bool written;
    {
        TextSink sink(out);
        file.write(sink, shape);
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
