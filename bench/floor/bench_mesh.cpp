#include "bench/floor/bench_mesh.h"

#include <cstddef>

std::vector<BenchObjectMesh> makeBenchMeshes(int64_t triangles) {
    const BenchShape shape = benchShapeFor(triangles);
    std::vector<BenchObjectMesh> meshes(BENCH_OBJECTS);
    for (int object = 0; object < BENCH_OBJECTS; ++object) {
        BenchObjectMesh& mesh = meshes[object];
        mesh.vertices.reserve(3 * static_cast<size_t>(shape.verticesPerObject()));
        for (int ring = 0; ring <= shape.rings; ++ring) {
            for (int segment = 0; segment <= shape.segments; ++segment) {
                const BenchVertex v = benchVertex(shape, object, ring, segment);
                mesh.vertices.insert(mesh.vertices.end(), {v.x, v.y, v.z});
            }
        }
        mesh.triangles.reserve(3 * static_cast<size_t>(shape.trianglesPerObject()));
        mesh.materials.reserve(shape.trianglesPerObject());
        for (int ring = 0; ring < shape.rings; ++ring) {
            const auto material = static_cast<uint8_t>(benchMaterial(shape, object, ring));
            for (int segment = 0; segment < shape.segments; ++segment) {
                forEachBenchTriangle(ring, segment, [&](const int(&corners)[3][2]) {
                    for (const auto& corner : corners)
                        mesh.triangles.push_back(benchVertexIndex(shape, corner[0], corner[1]));
                    mesh.materials.push_back(material);
                });
            }
        }
    }
    return meshes;
}
