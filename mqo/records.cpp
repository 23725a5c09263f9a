#include "mqo/records.h"

#include <new>

namespace {

void requireRoomAfter(int32_t count);

}  // namespace

void ObjectRecord::appendVertex(const VertexRecord& vertex) {
    requireRoomAfter(vertexCount);
    vertices.push_back(vertex);
    ++vertexCount;
}

void ObjectRecord::appendFace(const FaceRecord& face) {
    requireRoomAfter(faceCount);
    faces.push_back(face);
    ++faceCount;
}

void ObjectRecord::finishFace(int32_t materialIndex) {
    requireRoomAfter(faceCount);
    faces.finishFace(materialIndex);
    ++faceCount;
}

void ModelData::appendMaterial(const MaterialRecord& material) {
    materials.push_back(material);
    ++materialCount;
}

namespace {

void requireRoomAfter(int32_t count) {
    if (count == INT32_MAX) throw std::bad_alloc();
}

}  // namespace
