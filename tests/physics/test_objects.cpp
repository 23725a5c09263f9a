#include "test_objects.h"

#include <algorithm>
#include <string_view>

#include "model/loaded_model.h"
#include "model_files.h"

ObjectRecord cubeObject(float half) {
    ObjectRecord cube;
    for (int corner = 0; corner < 8; ++corner) {
        cube.appendVertex({corner & 1 ? half : -half, corner & 2 ? half : -half,
                           corner & 4 ? half : -half, 0});
    }
    const int32_t triangles[12][3] = {{0, 2, 1}, {1, 2, 3}, {4, 5, 6}, {5, 7, 6},
                                      {0, 1, 4}, {1, 5, 4}, {2, 6, 3}, {3, 6, 7},
                                      {0, 4, 2}, {2, 4, 6}, {1, 3, 5}, {3, 7, 5}};
    for (const auto& triangle : triangles) {
        cube.appendFace(faceOf({triangle[0], triangle[1], triangle[2]}));
    }
    return cube;
}

ObjectRecord pointsObject(std::vector<VertexRecord> vertices) {
    ObjectRecord object;
    for (const VertexRecord& vertex : vertices) {
        object.appendVertex(vertex);
    }
    return object;
}

FaceRecord faceOf(std::vector<int32_t> corners) {
    FaceRecord face;
    face.vertexCount = static_cast<int32_t>(corners.size());
    std::copy(corners.begin(), corners.end(), face.vertexIndex);
    return face;
}

void installObjects(const std::vector<ObjectRecord>& objects) {
    resetLoadedModel();
    ModelData data;
    data.objects = objects;
    data.objectCount = static_cast<int32_t>(objects.size());
    currentDocument = new ModelDocument(data, std::string_view{});
    for (int32_t i = 0; i < loadedObjectCount(); ++i) {
        loadedObjects[i] = objects[i];
    }
}
