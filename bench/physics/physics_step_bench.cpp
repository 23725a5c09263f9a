// The cost of one stepPhysics for a model of about 1k, 100k and 1M
// triangles on the ground: a cube whose sides are fine grids, set down and
// left to settle before the steps are timed. Standing on a plain square
// plate a little below its lower side, it rests on the plate's four
// corners. Standing on its fine lower side, more corners touch the ground
// than the 32 contacts a pair may have, and it keeps hopping; both are timed.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "measure.h"
#include "model/loaded_model.h"
#include "physics/bodies.h"
#include "physics/physics_world.h"

constexpr float CUBE_HALF = 50.0f;  // model units: 10 world units wide
constexpr float PLATE_GAP = 1.0f;
constexpr int SETTLE_STEPS = 100;

namespace {

ObjectRecord gridCube(int cells, bool onPlate);
void appendSide(ObjectRecord& cube, int cells, int axis, float offset);
void installModel(const ObjectRecord& object);
void measureSteps(int cells, bool onPlate);

}  // namespace

int main() {
    for (int triangles : {1000, 100000, 1000000}) {
        int cells = static_cast<int>(std::lround(std::sqrt(triangles / 12.0)));
        for (bool onPlate : {true, false})
            if (!inChildProcess([&] { measureSteps(cells, onPlate); })) return 1;
    }
    return 0;
}

namespace {

// The lower side, once the body stands the model up, is the model's -y side.
ObjectRecord gridCube(int cells, bool onPlate) {
    ObjectRecord cube;
    for (int axis = 0; axis < 3; ++axis) {
        appendSide(cube, cells, axis, -CUBE_HALF);
        appendSide(cube, cells, axis, CUBE_HALF);
    }
    if (onPlate) appendSide(cube, 1, 1, -CUBE_HALF - PLATE_GAP);
    return cube;
}

// A square across `axis` at `offset` from the centre, `cells` by `cells`
// squares of two triangles each.
void appendSide(ObjectRecord& cube, int cells, int axis, float offset) {
    int32_t first = cube.vertexCount;
    for (int row = 0; row <= cells; ++row) {
        for (int column = 0; column <= cells; ++column) {
            float a = CUBE_HALF * (2.0f * row / cells - 1.0f);
            float b = CUBE_HALF * (2.0f * column / cells - 1.0f);
            float position[3];
            position[axis] = offset;
            position[(axis + 1) % 3] = a;
            position[(axis + 2) % 3] = b;
            cube.appendVertex({position[0], position[1], position[2], 0});
        }
    }
    for (int row = 0; row < cells; ++row) {
        for (int column = 0; column < cells; ++column) {
            int32_t corner = first + row * (cells + 1) + column;
            FaceRecord face;
            face.vertexCount = 3;
            int32_t triangles[2][3] = {{corner, corner + 1, corner + cells + 1},
                                       {corner + 1, corner + cells + 2, corner + cells + 1}};
            for (const auto& triangle : triangles) {
                std::copy(triangle, triangle + 3, face.vertexIndex);
                cube.appendFace(face);
            }
        }
    }
}

void installModel(const ObjectRecord& object) {
    ModelData data;
    data.objects.push_back(object);
    data.objectCount = 1;
    currentDocument = new ModelDocument(data, std::string_view{});
    loadedObjects[0] = object;
}

void measureSteps(int cells, bool onPlate) {
    installModel(gridCube(cells, onPlate));
    int32_t triangles = loadedObjects[0].faceCount;
    double start = secondsNow();
    initPhysics();
    double buildSeconds = secondsNow() - start;
    // Set down just touching the ground, so that the timed steps find it settled.
    dBodySetPosition(bodyTable[0].body, 0, 0, (CUBE_HALF + PLATE_GAP) * 0.1);
    for (int step = 0; step < SETTLE_STEPS; ++step) stepPhysics();
    int steps = triangles > 500000 ? 20 : triangles > 50000 ? 100 : 2000;
    start = secondsNow();
    for (int step = 0; step < steps; ++step) stepPhysics();
    double perStep = (secondsNow() - start) / steps;
    printf(
        "stepPhysics, %7d triangles, on its %s (height %.2f, upward speed %.2f): "
        "%.3f ms per step (bodies built in %.2f s, peak %ld KiB)\n",
        triangles, onPlate ? "plate" : "side ", dBodyGetPosition(bodyTable[0].body)[2],
        dBodyGetLinearVel(bodyTable[0].body)[2], perStep * 1e3, buildSeconds, peakMemoryKib());
    destroyPhysics();
    releaseCollisionArrays();
    releaseModel();
}

}  // namespace
