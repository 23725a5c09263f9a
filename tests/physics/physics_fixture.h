// Objects built in memory for the physics tests, and a fixture that makes
// them the loaded model, builds the world and releases it all afterwards.
#pragma once

#include <algorithm>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "model_files.h"
#include "physics/bodies.h"
#include "physics/collision_mesh.h"
#include "physics/physics_world.h"

inline ObjectRecord objectOf(std::vector<VertexRecord> vertices, std::vector<std::vector<int32_t>> faces) {
    ObjectRecord object;
    for (const VertexRecord& vertex : vertices) object.appendVertex(vertex);
    for (const std::vector<int32_t>& corners : faces) {
        FaceRecord face;
        face.vertexCount = static_cast<int32_t>(corners.size());
        std::copy(corners.begin(), corners.end(), face.vertexIndex);
        object.appendFace(face);
    }
    return object;
}

// A cube centred on its origin, `half` model units from centre to side, as
// twelve triangles.
inline ObjectRecord cubeObject(float half) {
    std::vector<VertexRecord> corners;
    for (int corner = 0; corner < 8; ++corner)
        corners.push_back({corner & 1 ? half : -half, corner & 2 ? half : -half, corner & 4 ? half : -half, 0});
    return objectOf(corners, {{0, 2, 1},
                              {1, 2, 3},
                              {4, 5, 6},
                              {5, 7, 6},
                              {0, 1, 4},
                              {1, 5, 4},
                              {2, 6, 3},
                              {3, 6, 7},
                              {0, 4, 2},
                              {2, 4, 6},
                              {1, 3, 5},
                              {3, 7, 5}});
}

class PhysicsTest : public ::testing::Test {
protected:
    void TearDown() override { release(); }

    // The world, the collision arrays, the document and the tables, all gone.
    static void release() {
        destroyPhysics();
        releaseCollisionArrays();
        resetLoadedModel();
    }
    // As a successful read of a model made of these objects would leave it.
    static void simulate(const std::vector<ObjectRecord>& objects) {
        release();
        ModelData data;
        data.objects.assign(objects.begin(), objects.end());
        data.objectCount = static_cast<int32_t>(objects.size());
        currentDocument = new ModelDocument(data, std::string_view{});
        std::copy(objects.begin(), objects.end(), loadedObjects);
        initPhysics();
        completePhysics();
    }
    static void steps(int count) {
        for (int step = 0; step < count; ++step) stepPhysics();
    }
    static double height(int32_t i) { return dBodyGetPosition(bodyTable[i].body)[2]; }
};
