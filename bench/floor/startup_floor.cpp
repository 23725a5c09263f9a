// startup_floor MODEL TRIANGLES: two of the three parts of the least a
// start-up can take, each timed on its own, one after the other:
//   a streaming scan of MODEL that converts every number and keeps none;
//   ODE's own collision data (dGeomTriMeshDataBuildSingle) of the benchmark
//   model of about TRIANGLES triangles, object by object, from triangles
//   made from the formulas (their making is not timed).
// The third part, a window and its first frame, is gl_floor's.
#include <ode/ode.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "bench/floor/bench_mesh.h"
#include "bench/reader/plain_scan.h"

namespace {

double secondsNow();

}  // namespace

int main(int argc, char** argv) {
    const int64_t triangles = argc == 3 ? readTriangleCount(argv[2]) : 0;
    if (triangles == 0) {
        std::fputs("usage: startup_floor MODEL TRIANGLES\n", stderr);
        return 2;
    }
    double start = secondsNow();
    const ScanResult scan = scanNumbers(argv[1]);
    const double scanSeconds = secondsNow() - start;
    if (!scan.ok) {
        std::fprintf(stderr, "startup_floor: cannot read %s\n", argv[1]);
        return 1;
    }

    const std::vector<BenchObjectMesh> meshes = makeBenchMeshes(triangles);
    dInitODE2(0);
    std::vector<dTriMeshDataID> collisionData;
    start = secondsNow();
    for (const BenchObjectMesh& mesh : meshes) {
        collisionData.push_back(dGeomTriMeshDataCreate());
        dGeomTriMeshDataBuildSingle(collisionData.back(), mesh.vertices.data(), 3 * sizeof(float),
                                    static_cast<int>(mesh.vertices.size() / 3), mesh.triangles.data(),
                                    static_cast<int>(mesh.triangles.size()), 3 * sizeof(int32_t));
    }
    const double trimeshSeconds = secondsNow() - start;
    std::printf("numbers=%lld scan_s=%.4f trimesh_s=%.4f\n", static_cast<long long>(scan.numbers), scanSeconds,
                trimeshSeconds);
    return 0;
}

namespace {

double secondsNow() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace
