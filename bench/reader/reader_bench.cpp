// reader_bench BENCH.mqo BENCH.obj BENCH.mqoz [PAIRS]: reads the same two
// million triangles with our model reader (from a FILE*, as the viewer does)
// the model way and the classic way, from the archive as model mode opens it,
// with tinyobjloader from the OBJ file, and with a plain number scan of the
// model text, each run in a child process of its own. Each comparison alternates its two readers, A B A B, and judges
// the median of the pairs' ratios of CPU time, printed with their spread:
// on a shared machine neighbouring runs see the same load.
#include <tiny_obj_loader.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/median.h"
#include "bench/reader/child_measurement.h"
#include "bench/reader/plain_scan.h"
#include "model/model_archive.h"
#include "mqo/model_document.h"

namespace {

struct Reader {
    const char* name;
    const char* path;
    WorkResult (*read)(const char* path);
    std::vector<Measurement> runs;
};

// A goal on the ratio of A's cost to B's: A per triangle at most (or at
// least) `goal` times B's.
struct Comparison {
    Reader* a;
    Reader* b;
    const char* what;
    double goal;
    bool atMost;
};

WorkResult readModelWay(const char* path);
WorkResult readClassicWay(const char* path);
WorkResult readArchive(const char* path);
WorkResult readWithTinyObjLoader(const char* path);
WorkResult readWithPlainScan(const char* path);
WorkResult readPlainFile(const char* path, ReadingMode mode);
WorkResult readWithDocument(FILE* file, ReadingMode mode);
void warmPageCache(const char* path);
bool runPairs(Comparison& comparison, int pairs, std::vector<double>& ratios);
void printComparison(const Comparison& comparison, std::vector<double> ratios);
void printReader(const Reader& reader, int64_t triangles);

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        fputs("usage: reader_bench BENCH.mqo BENCH.obj BENCH.mqoz [PAIRS]\n", stderr);
        return 2;
    }
    const int pairs = argc == 5 ? std::max(5, atoi(argv[4])) : 5;
    Reader model{"model reading", argv[1], readModelWay, {}};
    Reader classic{"classic reading", argv[1], readClassicWay, {}};
    Reader archive{"archive reading", argv[3], readArchive, {}};
    Reader obj{"tinyobjloader", argv[2], readWithTinyObjLoader, {}};
    Reader scan{"plain scan", argv[1], readWithPlainScan, {}};
    Comparison comparisons[] = {
        {&model, &classic, "model / classic reading, CPU time", 1.10, true},
        {&archive, &model, "archive / plain file model reading, CPU time", 1.30, true},
        {&model, &scan, "model reading / plain scan, CPU time", 1.20, true},
        {&obj, &model, "tinyobjloader / model reading, CPU time a triangle", 2.00, false},
    };
    // Every reader meets its file in the page cache, none pays for the disk.
    warmPageCache(argv[1]);
    warmPageCache(argv[2]);
    warmPageCache(argv[3]);
    std::vector<double> ratios[std::size(comparisons)];
    for (size_t c = 0; c < std::size(comparisons); ++c)
        if (!runPairs(comparisons[c], pairs, ratios[c])) return 1;

    const int64_t triangles = model.runs.front().triangles;
    printf("reader benchmark: medians of %d runs or more; rates per second of CPU time\n", pairs);
    printf("  %-22s %9s %9s %10s %9s %9s\n", "", "cpu s", "wall s", "Mtri/s", "MB/s", "peak MB");
    for (const Reader* reader : {&model, &classic, &archive, &obj, &scan}) printReader(*reader, triangles);
    if (obj.runs.front().triangles != triangles) {
        printf("  note: tinyobjloader read %lld triangles, our reader %lld\n",
               static_cast<long long>(obj.runs.front().triangles), static_cast<long long>(triangles));
    }
    printf("ratios, median of %d alternating pairs (min-max):\n", pairs);
    for (size_t c = 0; c < std::size(comparisons); ++c) printComparison(comparisons[c], ratios[c]);
    return 0;
}

namespace {

WorkResult readModelWay(const char* path) {
    return readPlainFile(path, ReadingMode::Model);
}

WorkResult readClassicWay(const char* path) {
    return readPlainFile(path, ReadingMode::Classic);
}

WorkResult readPlainFile(const char* path, ReadingMode mode) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return {};
    const WorkResult result = readWithDocument(file, mode);
    fclose(file);
    return result;
}

// The archive's text inflated as the reader reads it, as model mode opens
// a .mqoz.
WorkResult readArchive(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return {};
    const ModelText text(file, path);
    if (text.stream() == nullptr) return {};
    const WorkResult result = readWithDocument(text.stream(), ReadingMode::Model);
    return text.problem().empty() && text.archive() != nullptr ? result : WorkResult{};
}

WorkResult readWithDocument(FILE* file, ReadingMode mode) {
    ModelDocument document(ModelData{}, file, mode);
    const bool ok = document.parse() == ParseOk;
    int64_t triangles = 0;
    for (const ObjectRecord& object : document.data().objects)
        for (size_t f = 0; f < object.faces.size(); ++f)
            triangles += std::max<int64_t>(static_cast<int64_t>(object.faces.corners(f).size()) - 2, 0);
    return {ok, triangles};
}

WorkResult readWithTinyObjLoader(const char* path) {
    tinyobj::attrib_t attributes;
    std::vector<tinyobj::shape_t> shapes;
    std::vector<tinyobj::material_t> materials;
    std::string warnings, errors;
    const std::string folder = std::filesystem::path(path).parent_path().string() + "/";
    const bool ok = tinyobj::LoadObj(&attributes, &shapes, &materials, &warnings, &errors, path, folder.c_str(), true);
    int64_t triangles = 0;
    for (const tinyobj::shape_t& shape : shapes) triangles += static_cast<int64_t>(shape.mesh.num_face_vertices.size());
    return {ok, triangles};
}

WorkResult readWithPlainScan(const char* path) {
    const ScanResult result = scanNumbers(path);
    return {result.ok && result.numbers > 0, 0};
}

void warmPageCache(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) return;
    std::vector<char> buffer(size_t{1} << 20);
    while (fread(buffer.data(), 1, buffer.size(), file) > 0) {
    }
    fclose(file);
}

// A over B for each pair, per triangle when both count triangles.
bool runPairs(Comparison& comparison, int pairs, std::vector<double>& ratios) {
    for (int pair = 0; pair < pairs; ++pair) {
        Measurement runs[2];
        Reader* readers[2] = {comparison.a, comparison.b};
        for (int k = 0; k < 2; ++k) {
            runs[k] = measureInChild([&] { return readers[k]->read(readers[k]->path); });
            if (!runs[k].ok) {
                fprintf(stderr, "reader_bench: %s could not read %s\n", readers[k]->name, readers[k]->path);
                return false;
            }
            readers[k]->runs.push_back(runs[k]);
        }
        double ratio = runs[0].cpuSeconds / runs[1].cpuSeconds;
        if (runs[0].triangles > 0 && runs[1].triangles > 0)
            ratio *= static_cast<double>(runs[1].triangles) / static_cast<double>(runs[0].triangles);
        ratios.push_back(ratio);
    }
    return true;
}

void printComparison(const Comparison& comparison, std::vector<double> ratios) {
    const double middle = median(ratios);
    const auto [least, most] = std::minmax_element(ratios.begin(), ratios.end());
    const bool met = comparison.atMost ? middle <= comparison.goal : middle >= comparison.goal;
    printf("  %-52s %5.2f (%.2f-%.2f), goal at %s %.2f: %s\n", comparison.what, middle, *least, *most,
           comparison.atMost ? "most" : "least", comparison.goal, met ? "met" : "MISSED");
}

// The plain scan counts no triangles; its rate is over the model reader's count.
void printReader(const Reader& reader, int64_t modelTriangles) {
    std::vector<double> cpu, wall, peak;
    for (const Measurement& m : reader.runs) {
        cpu.push_back(m.cpuSeconds);
        wall.push_back(m.wallSeconds);
        peak.push_back(m.peakMegabytes);
    }
    std::error_code error;
    const double megabytes = static_cast<double>(std::filesystem::file_size(reader.path, error)) / 1e6;
    const int64_t triangles = reader.runs.front().triangles > 0 ? reader.runs.front().triangles : modelTriangles;
    const double seconds = median(cpu);
    printf("  %-22s %9.3f %9.3f %10.3f %9.1f %9.1f\n", reader.name, seconds, median(wall),
           static_cast<double>(triangles) / seconds / 1e6, megabytes / seconds, median(peak));
}

}  // namespace
