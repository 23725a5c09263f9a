// curved_bench [PAIRS]: a closed surface of 10,000 textured quads (a torus
// of 100 by 100) as a curved surface refined 3 times, 640,000 quads, as
// model mode makes it (refineCurvedSurface: the control mesh, the refiner,
// points, texture coordinates and materials carried down, the record of the
// result) against its floor: OpenSubdiv's own refinement of the same cage
// and its points alone (topology, RefineUniform, Interpolate). The two run
// alternately, A B A B, and the figures are medians with their spread: the
// time of the whole, the floor's, and the pairs' ratios. The goal is the
// whole in at most 0.5 s.
#include <opensubdiv/far/primvarRefiner.h>
#include <opensubdiv/far/topologyDescriptor.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/median.h"
#include "model/curved_surface.h"

namespace {

namespace Far = OpenSubdiv::Far;
namespace Sdc = OpenSubdiv::Sdc;

constexpr int SIDE = 100;
constexpr int LEVEL = 3;
constexpr double GOAL_SECONDS = 0.5;

struct Point {
    float v[3];

    void Clear() { v[0] = v[1] = v[2] = 0; }
    void AddWithWeight(const Point& source, float weight) {
        for (int k = 0; k < 3; ++k) v[k] += weight * source.v[k];
    }
};

ObjectRecord torus();
double refineWhole(const ObjectRecord& cage, size_t& faces);
double refineFloor(const ObjectRecord& cage, size_t& faces);
double secondsNow();
void printFigure(const char* name, std::vector<double> values);

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc == 2 ? std::max(5, atoi(argv[1])) : 11;
    const ObjectRecord cage = torus();
    std::vector<double> whole, floor, ratios;
    size_t wholeFaces = 0, floorFaces = 0;
    for (int pair = 0; pair < pairs; ++pair) {
        whole.push_back(refineWhole(cage, wholeFaces));
        floor.push_back(refineFloor(cage, floorFaces));
        ratios.push_back(whole.back() / floor.back());
    }
    if (wholeFaces != floorFaces || wholeFaces != size_t{SIDE} * SIDE * 64) {
        std::fprintf(stderr, "curved_bench: %zu quads made, the floor made %zu\n", wholeFaces, floorFaces);
        return 1;
    }
    std::printf("curved surface benchmark: %d x %d textured quads refined %d times, %zu quads; %d alternating pairs\n",
                SIDE, SIDE, LEVEL, wholeFaces, pairs);
    printFigure("refineCurvedSurface, s", whole);
    printFigure("floor: OpenSubdiv's refinement and points, s", floor);
    printFigure("whole / floor", ratios);
    const double middle = median(whole);
    std::printf("  refineCurvedSurface median %.3f s, goal at most %.1f s: %s\n", middle, GOAL_SECONDS,
                middle <= GOAL_SECONDS ? "met" : "MISSED");
    return 0;
}

namespace {

// The texture wraps once round each way, so both seams are in the cage.
ObjectRecord torus() {
    ObjectRecord object;
    for (int i = 0; i < SIDE; ++i)
        for (int j = 0; j < SIDE; ++j) {
            const double a = 2 * M_PI * i / SIDE, b = 2 * M_PI * j / SIDE;
            object.appendVertex({static_cast<float>((10 + 3 * std::cos(b)) * std::cos(a)),
                                 static_cast<float>(3 * std::sin(b)),
                                 static_cast<float>((10 + 3 * std::cos(b)) * std::sin(a)), 0});
        }
    for (int i = 0; i < SIDE; ++i)
        for (int j = 0; j < SIDE; ++j) {
            const int corners[4][2] = {{i, j}, {i + 1, j}, {i + 1, j + 1}, {i, j + 1}};
            for (const auto& [ci, cj] : corners) {
                object.faces.addVertex((ci % SIDE) * SIDE + cj % SIDE);
                object.faces.addUv({static_cast<float>(ci) / SIDE, static_cast<float>(cj) / SIDE});
            }
            object.finishFace(0);
        }
    object.patch = 3;
    return object;
}

double refineWhole(const ObjectRecord& cage, size_t& faces) {
    const double start = secondsNow();
    const CurvedSurface surface = refineCurvedSurface(cage, LEVEL);
    const double seconds = secondsNow() - start;
    faces = surface.refined.faces.size();
    return seconds;
}

// The cage's counts and corners are taken before the clock starts: the
// floor is the refiner's work alone.
double refineFloor(const ObjectRecord& cage, size_t& faces) {
    std::vector<int> counts(cage.faces.size(), 4);
    std::vector<int> corners;
    for (size_t f = 0; f < cage.faces.size(); ++f)
        for (const int32_t vertex : cage.faces.corners(f).vertices) corners.push_back(vertex);
    std::vector<Point> points;
    for (const VertexRecord& vertex : cage.vertices) points.push_back({{vertex.x, vertex.y, vertex.z}});

    const double start = secondsNow();
    Far::TopologyDescriptor descriptor;
    descriptor.numVertices = static_cast<int>(points.size());
    descriptor.numFaces = static_cast<int>(counts.size());
    descriptor.numVertsPerFace = counts.data();
    descriptor.vertIndicesPerFace = corners.data();
    using Factory = Far::TopologyRefinerFactory<Far::TopologyDescriptor>;
    Far::TopologyRefiner* refiner = Factory::Create(descriptor, Factory::Options(Sdc::SCHEME_CATMARK));
    refiner->RefineUniform(Far::TopologyRefiner::UniformOptions(LEVEL));
    const Far::PrimvarRefiner primvars(*refiner);
    std::vector<Point> next;
    for (int level = 1; level <= LEVEL; ++level) {
        next.resize(refiner->GetLevel(level).GetNumVertices());
        const Point* from = points.data();
        Point* to = next.data();
        primvars.Interpolate(level, from, to);
        points.swap(next);
    }
    const double seconds = secondsNow() - start;
    faces = static_cast<size_t>(refiner->GetLevel(LEVEL).GetNumFaces());
    delete refiner;
    return seconds;
}

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

void printFigure(const char* name, std::vector<double> values) {
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    std::printf("  %-46s median %.3f (spread %.3f-%.3f)\n", name, median(values), *low, *high);
}

}  // namespace
