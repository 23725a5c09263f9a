#include "physics_fixture.h"

#include <algorithm>
#include <string_view>

ObjectRecord cubeObject(float half) {
    std::vector<VertexRecord> corners;
    for (int corner = 0; corner < 8; ++corner) {
        corners.push_back({corner & 1 ? half : -half, corner & 2 ? half : -half,
                           corner & 4 ? half : -half, 0});
    }
    return objectOf(corners, {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6}, {0, 1, 4}, {1, 5, 4},
                              {2, 6, 3}, {3, 6, 7}, {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}});
}

ObjectRecord objectOf(std::vector<VertexRecord> vertices, std::vector<std::vector<int32_t>> faces) {
    ObjectRecord object;
    for (const VertexRecord& vertex : vertices) {
        object.appendVertex(vertex);
    }
    for (const std::vector<int32_t>& corners : faces) {
        FaceRecord face;
        face.vertexCount = static_cast<int32_t>(corners.size());
        std::copy(corners.begin(), corners.end(), face.vertexIndex);
        object.appendFace(face);
    }
    return object;
}

void PhysicsTest::TearDown() {
    releasePhysicsAndModel();
    resetLoadedModel();
}

void PhysicsTest::simulate(const std::vector<ObjectRecord>& objects) {
    resetLoadedModel();
    ModelData data;
    data.objects = objects;
    data.objectCount = static_cast<int32_t>(objects.size());
    currentDocument = new ModelDocument(data, std::string_view{});
    std::copy(objects.begin(), objects.end(), loadedObjects);
    initPhysics();
}

void PhysicsTest::steps(int count) {
    for (int step = 0; step < count; ++step) {
        stepPhysics();
    }
}
