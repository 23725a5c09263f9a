#include "bench/bench_model/bench_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

constexpr double TWO_PI = 6.283185307179586;
constexpr int64_t MOST_TRIANGLES = 100'000'000;

}  // namespace

BenchShape benchShapeFor(int64_t triangles) {
    // triangles = 16 objects * 2 per patch * rings * segments, rings = 4 * segments
    const double segments = std::sqrt(static_cast<double>(triangles) / (2.0 * BENCH_OBJECTS * 4));
    BenchShape shape;
    shape.segments = std::max(1, static_cast<int>(std::lround(segments)));
    const double rings = static_cast<double>(triangles) / (2.0 * BENCH_OBJECTS * shape.segments);
    shape.rings = std::max(2, static_cast<int>(std::lround(rings)));
    return shape;
}

int64_t readTriangleCount(const char* text) {
    int64_t triangles = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, problem] = std::from_chars(text, end, triangles);
    const bool whole = problem == std::errc() && stop == end && triangles > 0 && triangles <= MOST_TRIANGLES;
    return whole ? triangles : 0;
}

BenchVertex benchVertex(const BenchShape& shape, int object, int ring, int segment) {
    const double centreX = (object % 4 - 1.5) * 300.0;
    const double centreZ = (object / 4 - 1.5) * 300.0;
    const double around = TWO_PI * ring / shape.rings;
    const double tube = TWO_PI * segment / shape.segments;
    const double radius = (30.0 + 5.0 * (object % 3)) * (1.0 + 0.1 * std::sin(8.0 * tube + around * 12.0));
    const double fromAxis = 100.0 + radius * std::cos(tube);
    return BenchVertex{
        static_cast<float>(centreX + fromAxis * std::cos(around)),
        static_cast<float>(40.0 + radius * std::sin(tube)),
        static_cast<float>(centreZ + fromAxis * std::sin(around)),
    };
}

int benchMaterial(const BenchShape& shape, int object, int ring) {
    return (object + (ring < shape.rings / 2 ? 0 : 1)) % BENCH_MATERIALS;
}
