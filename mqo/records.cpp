#include "mqo/records.h"

void ObjectRecord::appendVertex(const VertexRecord& vertex) {
    vertices.push_back(vertex);
    ++vertexCount;
}

void ObjectRecord::appendFace(const FaceRecord& face) {
    faces.push_back(face);
    ++faceCount;
}

void ModelData::appendMaterial(const MaterialRecord& material) {
    materials.push_back(material);
    ++materialCount;
}
