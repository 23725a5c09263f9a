#include "mqo/records.h"

#include <algorithm>
#include <cstring>
#include <utility>

void ObjectRecord::appendVertex(const VertexRecord& vertex) {
    vertices.push_back(vertex);
    ++vertexCount;
}

void ObjectRecord::appendFace(const FaceRecord& face) {
    faces.push_back(face);
    ++faceCount;
}

void ModelData::appendMaterial(MaterialRecord&& material) {
    materials.push_back(std::move(material));
    ++materialCount;
}

void copyRecordText(char (&field)[RECORD_TEXT_SIZE], const char* text) {
    copyRecordText(field, std::string_view(text, strnlen(text, RECORD_TEXT_SIZE - 1)));
}

void copyRecordText(char (&field)[RECORD_TEXT_SIZE], std::string_view text) {
    size_t length = std::min(text.size(), size_t{RECORD_TEXT_SIZE - 1});
    std::copy_n(text.data(), length, field);
    field[length] = '\0';
}
