// The benchmark model's triangles as the floors use them: float corners and
// 32-bit indices, object by object, made from the formulas rather than read.
#pragma once

#include <cstdint>
#include <vector>

#include "bench/bench_model/bench_geometry.h"

struct BenchObjectMesh {
    std::vector<float> vertices;     // x, y, z of each vertex
    std::vector<int32_t> triangles;  // three vertex indices each
    std::vector<uint8_t> materials;  // one per triangle
};

// The objects of the model of about `triangles` triangles (make_bench_model's shape).
std::vector<BenchObjectMesh> makeBenchMeshes(int64_t triangles);
