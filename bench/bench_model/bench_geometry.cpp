#include "bench/bench_model/bench_geometry.h"

#include <cmath>

namespace {

constexpr double TWO_PI = 6.283185307179586;

}  // namespace

BenchVertex benchVertex(int object, int ring, int segment) {
    const double centreX = (object % 4 - 1.5) * 300.0;
    const double centreZ = (object / 4 - 1.5) * 300.0;
    const double around = TWO_PI * ring / BENCH_RINGS;
    const double tube = TWO_PI * segment / BENCH_SEGMENTS;
    const double radius = (30.0 + 5.0 * (object % 3)) * (1.0 + 0.1 * std::sin(8.0 * tube + around * 12.0));
    const double fromAxis = 100.0 + radius * std::cos(tube);
    return BenchVertex{
        static_cast<float>(centreX + fromAxis * std::cos(around)),
        static_cast<float>(40.0 + radius * std::sin(tube)),
        static_cast<float>(centreZ + fromAxis * std::sin(around)),
    };
}

int benchMaterial(int object, int ring) {
    return (object + (ring < BENCH_RINGS / 2 ? 0 : 1)) % BENCH_MATERIALS;
}
