#include "model/loaded_model.h"

#include <algorithm>

ObjectRecord loadedObjects[MAX_OBJECTS];
MaterialRecord loadedMaterials[MAX_MATERIALS];
ModelDocument* currentDocument = nullptr;
ModelSettings modelSettings;

int32_t documentObjectCount() {
    return currentDocument == nullptr ? 0 : currentDocument->objectCount();
}

int32_t documentMaterialCount() {
    return currentDocument == nullptr ? 0 : currentDocument->materialCount();
}

int32_t loadedObjectCount() {
    return std::min(documentObjectCount(), MAX_OBJECTS);
}

int32_t loadedMaterialCount() {
    return std::min(documentMaterialCount(), MAX_MATERIALS);
}

const SceneRecord& loadedScene() {
    static const SceneRecord none;
    return currentDocument == nullptr ? none : currentDocument->data().scene;
}

void releaseModel() {
    delete currentDocument;
    currentDocument = nullptr;
}

void releaseGeometry(ObjectRecord& object) {
    object.vertices = VertexList{};
    object.faces = FaceList{};
    object.vertexCount = 0;
    object.faceCount = 0;
}
