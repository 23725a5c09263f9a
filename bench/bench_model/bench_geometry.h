// The benchmark model: sixteen rippled rings with four materials and texture
// coordinates. By default each ring has 125,000 triangles, two million in
// all; finer or coarser shapes give other sizes. Every value comes from a
// formula, so the files are the same on every run.
#pragma once

#include <cstdint>

constexpr int BENCH_OBJECTS = 16;
constexpr int BENCH_MATERIALS = 4;
// Red, green, blue and yellow, with neither emission nor specular light.
constexpr float BENCH_MATERIAL_COLOURS[BENCH_MATERIALS][3] = {
    {0.9f, 0.3f, 0.2f}, {0.2f, 0.7f, 0.3f}, {0.2f, 0.4f, 0.9f}, {0.9f, 0.8f, 0.3f}};
constexpr float BENCH_DIFFUSE = 0.8f;
constexpr float BENCH_AMBIENT = 0.6f;
constexpr float BENCH_POWER = 5.0f;

// How finely each ring is cut.
struct BenchShape {
    int rings = 500;     // around the big circle
    int segments = 125;  // around the tube

    // The seam vertices are doubled so that each vertex has one texture coordinate.
    int verticesPerObject() const { return (rings + 1) * (segments + 1); }
    int trianglesPerObject() const { return 2 * rings * segments; }
    int64_t triangles() const { return int64_t{BENCH_OBJECTS} * trianglesPerObject(); }
};

// The shape nearest to `triangles` triangles in all, with four times as many
// rings as segments like the default one (which is what two million gives).
BenchShape benchShapeFor(int64_t triangles);
// A triangle count given on a command line, or 0 when the text is not a
// whole number from 1 to fifty times the default model (whose counts still
// fit an int).
int64_t readTriangleCount(const char* text);

struct BenchVertex {
    float x, y, z;
};

BenchVertex benchVertex(const BenchShape& shape, int object, int ring, int segment);
// Texture coordinates run once around the tube (u) and the ring (v).
inline float benchU(const BenchShape& shape, int segment) {
    return static_cast<float>(segment) / shape.segments;
}
inline float benchV(const BenchShape& shape, int ring) {
    return static_cast<float>(ring) / shape.rings;
}
// Index within its object of the vertex at (ring, segment).
inline int benchVertexIndex(const BenchShape& shape, int ring, int segment) {
    return ring * (shape.segments + 1) + segment;
}
// The first half of each object's rings has one material, the rest another.
int benchMaterial(const BenchShape& shape, int object, int ring);
// The two triangles of the patch at (ring, segment), each as three
// (ring, segment) corners.
void forEachBenchTriangle(int ring, int segment, auto&& use) {
    const int first[3][2] = {{ring, segment}, {ring, segment + 1}, {ring + 1, segment + 1}};
    const int second[3][2] = {{ring, segment}, {ring + 1, segment + 1}, {ring + 1, segment}};
    use(first);
    use(second);
}
