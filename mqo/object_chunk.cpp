// The Object chunk: transform and display keys, text and binary vertex
// blocks, vertex weights; faces are read in face_chunk.cpp.
#include <bit>

#include "mqo/chunk_readers.h"
#include "mqo/plain_line.h"

namespace {

// Keys that say how the object is shown, each one number.
struct IntegerKey {
    std::string_view keyword;
    int32_t ObjectRecord::*field;
};

struct FactorKey {
    std::string_view keyword;
    float ObjectRecord::*field;
};

constexpr IntegerKey integerKeys[] = {
    {"visible", &ObjectRecord::visible},    {"shading", &ObjectRecord::shading},
    {"mirror", &ObjectRecord::mirror},      {"mirror_axis", &ObjectRecord::mirrorAxis},
    {"patch", &ObjectRecord::patch},        {"segment", &ObjectRecord::segment},
    {"lathe", &ObjectRecord::lathe},        {"lathe_axis", &ObjectRecord::latheAxis},
    {"lathe_seg", &ObjectRecord::latheSeg},
};

constexpr FactorKey factorKeys[] = {
    {"facet", &ObjectRecord::facet},
    {"mirror_dis", &ObjectRecord::mirrorDistance},
};

constexpr size_t BINARY_VERTEX_SIZE = 12;

// Sub-blocks of vertexattr close at a line whose first token is "}", those
// of BVertex at a line whose last token is "}".
enum class SubBlockEnd { AtFirstToken, AtLastToken };

bool readPlainVertexLine(std::string_view text, ObjectRecord& object);
bool readObjectKey(const LineTokenizer& line, ObjectRecord& object);
void readBinaryVertexChunk(ChunkCursor& cursor, ObjectRecord& object);
void readBinaryVertices(ChunkCursor& cursor, ObjectRecord& object, int32_t count);
void readVertexAttrChunk(ChunkCursor& cursor, ObjectRecord& object);
void readWeights(ChunkCursor& cursor, ObjectRecord& object, SubBlockEnd end);
void skipSubBlock(ChunkCursor& cursor, SubBlockEnd end);
bool endsSubBlock(const ChunkCursor& cursor, SubBlockEnd end);
float littleEndianFloat(const char* bytes);

}  // namespace

void readObjectChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        cursor.readChunkLine("the Object chunk");
        if (line.keywordIs("}", 1)) return;
        if (line.keywordIs("scale", 2)) {
            object.scale = cursor.pointAt(1);
            object.hasScale = true;
        } else if (line.keywordIs("rotation", 2)) {
            object.rotation = cursor.pointAt(1);
            object.hasRotation = true;
        } else if (line.keywordIs("translation", 2)) {
            object.translation = cursor.pointAt(1);
            object.hasTranslation = true;
        } else if (readObjectKey(line, object)) {
            continue;
        } else if (line.keywordIs("vertex", 3)) {
            cursor.requireBlockHead("a vertex line");
            readVertexChunk(cursor, object);
        } else if (line.keywordIs("vertexattr", 2)) {
            cursor.requireBlockHead("a vertexattr line");
            readVertexAttrChunk(cursor, object);
        } else if (line.keywordIs("BVertex", 3)) {
            cursor.requireBlockHead("a BVertex line");
            readBinaryVertexChunk(cursor, object);
        } else if (line.keywordIs("face", 2)) {
            cursor.requireBlockHead("a face line");
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
        const std::string_view text = cursor.readChunkText("the vertex block");
        if (readPlainVertexLine(text, object)) continue;
        const int count = cursor.split(text);
        if (line.keywordIs("}", 1)) return;
        if (count < 3) continue;
        Point3 position = cursor.pointAt(0);
        object.appendVertex({position.x, position.y, position.z, 0});
    }
}

namespace {

// Most vertex lines are three plain numbers, read here without cutting them
// into tokens; false, for the tokenized reading to decide, on any other.
bool readPlainVertexLine(std::string_view text, ObjectRecord& object) {
    double position[3];
    if (!readPlainPoint(text, position)) return false;
    object.appendVertex(
        {static_cast<float>(position[0]), static_cast<float>(position[1]), static_cast<float>(position[2]), 0});
    return true;
}

bool readObjectKey(const LineTokenizer& line, ObjectRecord& object) {
    for (const IntegerKey& key : integerKeys) {
        if (!line.keywordIs(key.keyword, 2)) continue;
        object.*key.field = line.intAt(1);
        return true;
    }
    for (const FactorKey& key : factorKeys) {
        if (!line.keywordIs(key.keyword, 2)) continue;
        object.*key.field = static_cast<float>(line.floatAt(1));
        return true;
    }
    return false;
}

void readBinaryVertexChunk(ChunkCursor& cursor, ObjectRecord& object) {
    const LineTokenizer& line = cursor.line();
    for (;;) {
        cursor.readChunkLine("the BVertex block");
        if (line.keywordIs("}", 1)) return;
        if (line.keywordIs("Vector", 5)) {
            if (!cursor.opensBinaryBlock())
                ChunkCursor::fail(ParseError, "expected \"[\", a byte count and \"]\" at the end of a Vector line");
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
        cursor.readChunkLine("the vertexattr block");
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
        int count = cursor.readChunkLine("the weit block");
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
        if (cursor.readChunkLine("the color block") > 0 && endsSubBlock(cursor, end)) return;
}

bool endsSubBlock(const ChunkCursor& cursor, SubBlockEnd end) {
    return end == SubBlockEnd::AtFirstToken ? cursor.line().keywordIs("}", 1) : cursor.lastTokenIs("}");
}

float littleEndianFloat(const char* bytes) {
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(bytes[i]);
    return std::bit_cast<float>(word);
}

}  // namespace
