// make_bench_model OUTPUT_DIR [TRIANGLES]: writes bench.mqo, bench.obj and
// bench.mtl of two million triangles into OUTPUT_DIR, and bench.mqoz, the
// archive of bench.mqo as the modeller saves it compressed; with TRIANGLES,
// only the model of about that many triangles, as bench-TRIANGLES.mqo. A file
// already there with exactly the size it would get is left alone, so
// benchmark runs after the first skip the minutes of writing.
#include <zip.h>

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
bool writeArchive(const fs::path& folder);
bool holdsWholeModel(const fs::path& archivePath, uint64_t modelSize);

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
    if (argc == 2 && !writeArchive(folder)) {
        fprintf(stderr, "make_bench_model: cannot write %s\n", (folder / "bench.mqoz").c_str());
        return 1;
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

// bench.mqo deflated into bench.mqoz, beside it; an archive that already
// holds a bench.mqo of its size is left alone.
bool writeArchive(const fs::path& folder) {
    const fs::path model = folder / "bench.mqo";
    const fs::path path = folder / "bench.mqoz";
    std::error_code error;
    const uint64_t modelSize = fs::file_size(model, error);
    if (error) return false;
    if (holdsWholeModel(path, modelSize)) return true;
    const fs::path partial = path.string() + ".partial";
    zip_t* archive = zip_open(partial.c_str(), ZIP_CREATE | ZIP_TRUNCATE, nullptr);
    if (archive == nullptr) return false;
    zip_source_t* source = zip_source_file(archive, model.c_str(), 0, -1);
    if (source == nullptr || zip_file_add(archive, "bench.mqo", source, 0) < 0) {
        zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    const bool written = zip_close(archive) == 0;
    if (!written) zip_discard(archive);
    if (written) fs::rename(partial, path, error);
    const bool renamed = written && !error;
    if (!renamed) fs::remove(partial, error);
    if (renamed) printf("make_bench_model: wrote %s (%ju bytes)\n", path.c_str(), fs::file_size(path, error));
    return renamed;
}

bool holdsWholeModel(const fs::path& archivePath, uint64_t modelSize) {
    zip_t* archive = zip_open(archivePath.c_str(), ZIP_RDONLY, nullptr);
    if (archive == nullptr) return false;
    zip_stat_t status;
    const bool whole = zip_stat(archive, "bench.mqo", 0, &status) == 0 && status.size == modelSize;
    zip_discard(archive);
    return whole;
}

}  // namespace
