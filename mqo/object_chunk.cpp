// The Object chunk: transform keys, text and binary vertex blocks, vertex
// weights; faces are read in face_chunk.cpp.
#include <algorithm>
#include <bit>

#include "mqo/chunk_readers.h"

namespace {

// Keys that only serve modelling and say nothing the viewer draws.
constexpr std::string_view modellingKeys[] = {
    "patch",       "segment",    "visible", "shading",    "facet",     "mirror",
    "mirror_axis", "mirror_dis", "lathe",   "lathe_axis", "lathe_seg",
};

constexpr size_t BINARY_VERTEX_SIZE = 12;

// Sub-blocks of vertexattr close at a line whose first token is "}", those
// of BVertex at a line whose last token is "}".
enum class SubBlockEnd { AtFirstToken, AtLastToken };

bool readBinaryVertexChunk(ChunkCursor& cursor, ObjectRecord& object);
void readBinaryVertices(ChunkCursor& cursor, ObjectRecord& object, int32_t count);
void readVertexAttrChunk(ChunkCursor& cursor, ObjectRecord& object);
void readWeights(ChunkCursor& cursor, ObjectRecord& object, SubBlockEnd end);
void skipSubBlock(ChunkCursor& cursor, SubBlockEnd end);
bool endsSubBlock(const ChunkCursor& cursor, SubBlockEnd end);
bool isModellingKey(const LineTokenizer& line);
float littleEndianFloat(const char* bytes);

}  // namespace

bool readObjectChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        cursor.readChunkLine();
        if (line.keywordIs("}", 1)) return true;
        if (line.keywordIs("scale", 2)) {
            object.scale = cursor.pointAt(1);
        } else if (line.keywordIs("rotation", 2)) {
            object.rotation = cursor.pointAt(1);
        } else if (line.keywordIs("translation", 2)) {
            object.translation = cursor.pointAt(1);
        } else if (isModellingKey(line)) {
            continue;
        } else if (line.keywordIs("vertex", 3)) {
            if (!cursor.lastTokenIs("{")) return false;
            readVertexChunk(cursor, object);
        } else if (line.keywordIs("vertexattr", 2)) {
            if (!cursor.lastTokenIs("{")) return false;
            readVertexAttrChunk(cursor, object);
        } else if (line.keywordIs("BVertex", 3)) {
            if (!cursor.lastTokenIs("{") || !readBinaryVertexChunk(cursor, object)) return false;
        } else if (line.keywordIs("face", 2)) {
            if (!cursor.lastTokenIs("{")) return false;
            readFaceChunk(cursor, object, materialCount);
        } else {
            cursor.skipChunk();
        }
    }
}

// NOTE: the count on the block head is not used, not even to size the list:
// the block is read up to its closing line whatever the count says.
void readVertexChunk(ChunkCursor& cursor, ObjectRecord& object) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        int count = cursor.readChunkLine();
        if (line.keywordIs("}", 1)) return;
        if (count < 3) continue;
        Point3 position = cursor.pointAt(0);
        object.appendVertex({position.x, position.y, position.z, 0});
    }
}

namespace {

bool readBinaryVertexChunk(ChunkCursor& cursor, ObjectRecord& object) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        cursor.readChunkLine();
        if (line.keywordIs("}", 1)) return true;
        if (line.keywordIs("Vector", 5)) {
            if (!cursor.opensBinaryBlock()) return false;
            readBinaryVertices(cursor, object, line.intAt(1));
        } else if (line.keywordIs("color", 2)) {
            skipSubBlock(cursor, SubBlockEnd::AtLastToken);
        } else if (line.keywordIs("weit", 2)) {
            readWeights(cursor, object, SubBlockEnd::AtLastToken);
        } else {
            cursor.skipChunk();
        }
    }
}

// NOTE: the size between the brackets of a Vector line is not trusted; the
// data is exactly `count` little-endian x, y, z triples. Data cut short by the
// end of the file leaves the next line read to meet that end.
void readBinaryVertices(ChunkCursor& cursor, ObjectRecord& object, int32_t count) {
    char record[BINARY_VERTEX_SIZE];
    for (int32_t k = 0; k < count; ++k) {
        if (cursor.readBytes(record, BINARY_VERTEX_SIZE) < BINARY_VERTEX_SIZE) return;
        object.appendVertex(
            {littleEndianFloat(record), littleEndianFloat(record + 4), littleEndianFloat(record + 8), 0});
    }
}

void readVertexAttrChunk(ChunkCursor& cursor, ObjectRecord& object) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        cursor.readChunkLine();
        if (line.keywordIs("}", 1)) return;
        if (line.keywordIs("color", 2))
            skipSubBlock(cursor, SubBlockEnd::AtFirstToken);
        else if (line.keywordIs("weit", 2))
            readWeights(cursor, object, SubBlockEnd::AtFirstToken);
        else
            cursor.skipChunk();
    }
}

// Each line is a vertex index and its weight; indices outside the object's
// vertices are ignored. NOTE: inside vertexattr an entry needs both numbers,
// inside BVertex a lone index sets its weight to 0.
void readWeights(ChunkCursor& cursor, ObjectRecord& object, SubBlockEnd end) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        int count = cursor.readChunkLine();
        if (count == 0) continue;
        if (endsSubBlock(cursor, end)) return;
        if (end == SubBlockEnd::AtFirstToken && count < 2) continue;
        int32_t index = line.intAt(0);
        if (index >= 0 && index < object.vertexCount)
            object.vertices[index].weight = static_cast<float>(line.floatAt(1));
    }
}

void skipSubBlock(ChunkCursor& cursor, SubBlockEnd end) {
    for (;;)
        if (cursor.readChunkLine() > 0 && endsSubBlock(cursor, end)) return;
}

bool endsSubBlock(const ChunkCursor& cursor, SubBlockEnd end) {
    return end == SubBlockEnd::AtFirstToken ? cursor.line().keywordIs("}", 1) : cursor.lastTokenIs("}");
}

bool isModellingKey(const LineTokenizer& line) {
    return std::any_of(std::begin(modellingKeys), std::end(modellingKeys),
                       [&](std::string_view key) { return line.keywordIs(key, 2); });
}

float littleEndianFloat(const char* bytes) {
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return std::bit_cast<float>(word);
}

}  // namespace
