// The face block of an Object chunk. A face line reads
//   n V(i0 .. i(n-1)) [M(m)] [UV(u0 v0 .. )] [COL(c0 .. )]
// with the optional groups in exactly this order; only the first four
// corners are kept.
#include <algorithm>

#include "mqo/chunk_readers.h"

namespace {

void readFaceLine(const LineTokenizer& line, ObjectRecord& object, int32_t materialCount);
void readFaceGroups(const LineTokenizer& line, FaceRecord& face, int n, int32_t materialCount);

}  // namespace

void readFaceChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount) {
    for (;;) {
        if (cursor.readChunkLine() == 0) continue;
        if (cursor.line().keywordIs("}", 1)) return;
        readFaceLine(cursor.line(), object, materialCount);
    }
}

namespace {

// A line that is not a face at all fails the read; a face whose vertex group
// lacks its parentheses is passed over.
void readFaceLine(const LineTokenizer& line, ObjectRecord& object, int32_t materialCount) {
    const int count = line.tokenCount();
    // NOTE: the corner count comes from the file: a huge one must not
    // overflow when the line's length is checked against it.
    const int64_t corners = line.intAt(0);
    if (!line.tokenIs(1, "V") || count < corners + 4) ChunkCursor::fail(ParseError);
    const int n = static_cast<int>(corners);
    if (!line.tokenIs(2, "(") || !line.tokenIs(n + 3, ")")) return;
    FaceRecord face;
    face.vertexCount = std::clamp(n, 0, 4);
    for (int k = 0; k < face.vertexCount; ++k) face.vertexIndex[k] = line.intAt(3 + k);
    readFaceGroups(line, face, n, materialCount);
    object.appendFace(face);
}

// A malformed or misplaced group ends the line; the face keeps what was read.
void readFaceGroups(const LineTokenizer& line, FaceRecord& face, int n, int32_t materialCount) {
    const int count = line.tokenCount();
    auto group = [&](int p, int last) {
        return count > last && line.tokenIs(p + 1, "(") && line.tokenIs(last, ")");
    };
    int p = n + 4;
    if (line.tokenIs(p, "M")) {
        if (!group(p, p + 3)) return;
        int32_t material = line.intAt(p + 2);
        if (material >= 0 && material < materialCount) face.materialIndex = material;
        p += 4;
    }
    if (line.tokenIs(p, "UV")) {
        if (!group(p, p + 2 * n + 2)) return;
        for (int k = 0; k < face.vertexCount; ++k) {
            face.uv[k][0] = static_cast<float>(line.floatAt(p + 2 + 2 * k));
            face.uv[k][1] = static_cast<float>(line.floatAt(p + 3 + 2 * k));
        }
        p += 2 * n + 3;
    }
    if (line.tokenIs(p, "COL")) {
        if (!group(p, p + n + 2)) return;
        for (int k = 0; k < face.vertexCount; ++k) face.color[k] = static_cast<uint32_t>(line.intAt(p + 2 + k));
    }
}

}  // namespace
