// The big benchmark model: sixteen rippled rings of 125,000 triangles each,
// two million in all, with four materials and texture coordinates. Every
// value comes from a formula, so the files are the same on every run.
#pragma once

constexpr int BENCH_OBJECTS = 16;
constexpr int BENCH_MATERIALS = 4;
constexpr int BENCH_RINGS = 500;     // around the big circle
constexpr int BENCH_SEGMENTS = 125;  // around the tube
// The seam vertices are doubled so that each vertex has one texture coordinate.
constexpr int BENCH_VERTICES_PER_OBJECT = (BENCH_RINGS + 1) * (BENCH_SEGMENTS + 1);
constexpr int BENCH_TRIANGLES_PER_OBJECT = 2 * BENCH_RINGS * BENCH_SEGMENTS;

struct BenchVertex {
    float x, y, z;
};

BenchVertex benchVertex(int object, int ring, int segment);
// Texture coordinates run once around the tube (u) and the ring (v).
inline float benchU(int segment) {
    return static_cast<float>(segment) / BENCH_SEGMENTS;
}
inline float benchV(int ring) {
    return static_cast<float>(ring) / BENCH_RINGS;
}
// Index within its object of the vertex at (ring, segment).
inline int benchVertexIndex(int ring, int segment) {
    return ring * (BENCH_SEGMENTS + 1) + segment;
}
// The first half of each object's rings has one material, the rest another.
int benchMaterial(int object, int ring);
