#include "mqo/records.h"

#include <cstring>

void ObjectRecord::appendVertex(const VertexRecord& vertex) {
    vertices.push_back(vertex);
    ++vertexCount;
}

void ObjectRecord::appendFace(const FaceRecord& face) {
    faces.push_back(face);
    ++faceCount;
}

void copyRecordText(char (&field)[RECORD_TEXT_SIZE], const char* text) {
    size_t length = strnlen(text, RECORD_TEXT_SIZE - 1);
    memcpy(field, text, length);
    field[length] = '\0';
}
