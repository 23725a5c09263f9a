// The Object chunk: transform keys, text and binary vertex blocks, vertex
// weights; faces are read in face_chunk.cpp.
#include <algorithm>
#include <bit>

#include "mqo/model_document.h"

namespace {

// Keys that only serve modelling and say nothing the viewer draws.
constexpr std::string_view modellingKeys[] = {
    "patch",       "segment",    "visible", "shading",    "facet",     "mirror",
    "mirror_axis", "mirror_dis", "lathe",   "lathe_axis", "lathe_seg",
};

constexpr size_t BINARY_VERTEX_SIZE = 12;

float littleEndianFloat(const char* bytes) {
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return std::bit_cast<float>(word);
}

}  // namespace

bool ModelDocument::readObjectChunk(ObjectRecord& object) {
    for (;;) {
        readChunkLine();
        if (reader_.keywordIs("}", 1)) return true;
        if (reader_.keywordIs("scale", 2)) {
            object.scale = pointAt(1);
        } else if (reader_.keywordIs("rotation", 2)) {
            object.rotation = pointAt(1);
        } else if (reader_.keywordIs("translation", 2)) {
            object.translation = pointAt(1);
        } else if (isModellingKey()) {
            continue;
        } else if (reader_.keywordIs("vertex", 3)) {
            if (!lastTokenIs("{")) return false;
            readVertexChunk(object);
        } else if (reader_.keywordIs("vertexattr", 2)) {
            if (!lastTokenIs("{")) return false;
            readVertexAttrChunk(object);
        } else if (reader_.keywordIs("BVertex", 3)) {
            if (!lastTokenIs("{") || !readBinaryVertexChunk(object)) return false;
        } else if (reader_.keywordIs("face", 2)) {
            if (!lastTokenIs("{")) return false;
            readFaceChunk(object);
        } else {
            skipChunk(reader_.tokenCount());
        }
    }
}

// NOTE: the count on the block head is not used, not even to size the list:
// the block is read up to its closing line whatever the count says.
void ModelDocument::readVertexChunk(ObjectRecord& object) {
    for (;;) {
        int count = readChunkLine();
        if (reader_.keywordIs("}", 1)) return;
        if (count < 3) continue;
        Point3 position = pointAt(0);
        object.appendVertex({position.x, position.y, position.z, 0});
    }
}

bool ModelDocument::readBinaryVertexChunk(ObjectRecord& object) {
    for (;;) {
        readChunkLine();
        if (reader_.keywordIs("}", 1)) return true;
        if (reader_.keywordIs("Vector", 5)) {
            if (!opensBinaryBlock()) return false;
            readBinaryVertices(object, reader_.intAt(1));
        } else if (reader_.keywordIs("color", 2)) {
            skipSubBlock(SubBlockEnd::AtLastToken);
        } else if (reader_.keywordIs("weit", 2)) {
            readWeights(object, SubBlockEnd::AtLastToken);
        } else {
            skipChunk(reader_.tokenCount());
        }
    }
}

// NOTE: the size between the brackets of a Vector line is not trusted; the
// data is exactly `count` little-endian x, y, z triples. Data cut short by the
// end of the file leaves the next line read to meet that end.
void ModelDocument::readBinaryVertices(ObjectRecord& object, int32_t count) {
    char record[BINARY_VERTEX_SIZE];
    for (int32_t k = 0; k < count; ++k) {
        if (source_.read(record, BINARY_VERTEX_SIZE) < BINARY_VERTEX_SIZE) return;
        object.appendVertex(
            {littleEndianFloat(record), littleEndianFloat(record + 4), littleEndianFloat(record + 8), 0});
    }
}

void ModelDocument::readVertexAttrChunk(ObjectRecord& object) {
    for (;;) {
        readChunkLine();
        if (reader_.keywordIs("}", 1)) return;
        if (reader_.keywordIs("color", 2))
            skipSubBlock(SubBlockEnd::AtFirstToken);
        else if (reader_.keywordIs("weit", 2))
            readWeights(object, SubBlockEnd::AtFirstToken);
        else
            skipChunk(reader_.tokenCount());
    }
}

// Each line is a vertex index and its weight; indices outside the object's
// vertices are ignored. NOTE: inside vertexattr an entry needs both numbers,
// inside BVertex a lone index sets its weight to 0.
void ModelDocument::readWeights(ObjectRecord& object, SubBlockEnd end) {
    for (;;) {
        int count = readChunkLine();
        if (count == 0) continue;
        if (endsSubBlock(end)) return;
        if (end == SubBlockEnd::AtFirstToken && count < 2) continue;
        int32_t index = reader_.intAt(0);
        if (index >= 0 && index < object.vertexCount)
            object.vertices[index].weight = static_cast<float>(reader_.floatAt(1));
    }
}

void ModelDocument::skipSubBlock(SubBlockEnd end) {
    for (;;)
        if (readChunkLine() > 0 && endsSubBlock(end)) return;
}

bool ModelDocument::endsSubBlock(SubBlockEnd end) const {
    return end == SubBlockEnd::AtFirstToken ? reader_.keywordIs("}", 1) : lastTokenIs("}");
}

bool ModelDocument::isModellingKey() const {
    return std::any_of(std::begin(modellingKeys), std::end(modellingKeys),
                       [&](std::string_view key) { return reader_.keywordIs(key, 2); });
}
