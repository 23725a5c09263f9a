// The face block of an Object chunk. A face line reads
//   n V(i0 .. i(n-1)) [M(m)] [UV(u0 v0 .. )] [COL(c0 .. )]
// with the optional groups in exactly this order. The classic reading keeps
// the first four corners of a face, the model reading all of them.
#include <algorithm>
#include <vector>

#include "mqo/chunk_readers.h"

namespace {

// One face line's corners on their way to the object; reused line after
// line, so that reading a face allocates nothing.
struct FaceLine {
    int32_t materialIndex = -1;
    std::vector<int32_t> vertices;
    std::vector<TexturePoint> uvs;  // empty without a UV group
    std::vector<uint32_t> colours;  // empty without a COL group
};

bool readFaceLine(const LineTokenizer& line, FaceLine& face, int32_t materialCount, bool wholeFaces);
void readFaceGroups(const LineTokenizer& line, FaceLine& face, int n, int32_t materialCount);

}  // namespace

void readFaceChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount) {
    const bool wholeFaces = cursor.mode() == ReadingMode::Model;
    FaceLine face;
    for (;;) {
        if (cursor.readChunkLine("the face block") == 0) continue;
        if (cursor.line().keywordIs("}", 1)) return;
        if (readFaceLine(cursor.line(), face, materialCount, wholeFaces))
            object.appendFace(face.materialIndex, face.vertices, face.uvs, face.colours);
    }
}

namespace {

// A line that is not a face at all fails the read; a face whose vertex group
// lacks its parentheses is passed over (false).
bool readFaceLine(const LineTokenizer& line, FaceLine& face, int32_t materialCount, bool wholeFaces) {
    const int count = line.tokenCount();
    // NOTE: the corner count comes from the file: a huge one must not
    // overflow when the line's length is checked against it.
    const int64_t corners = line.intAt(0);
    if (!line.tokenIs(1, "V"))
        ChunkCursor::fail(ParseError, "expected a face line: a corner count, then \"V(\" and the vertex indices");
    if (count < corners + 4)
        ChunkCursor::fail(ParseError, "expected a face line of %lld corners: \"V(\", as many vertex indices and \")\"",
                          static_cast<long long>(corners));
    const int n = static_cast<int>(corners);
    if (!line.tokenIs(2, "(") || !line.tokenIs(n + 3, ")")) return false;
    face.materialIndex = -1;
    face.vertices.resize(static_cast<size_t>(wholeFaces ? std::max(n, 0) : std::clamp(n, 0, 4)));
    for (size_t k = 0; k < face.vertices.size(); ++k) face.vertices[k] = line.intAt(3 + static_cast<int>(k));
    face.uvs.clear();
    face.colours.clear();
    readFaceGroups(line, face, n, materialCount);
    return true;
}

// A malformed or misplaced group ends the line; the face keeps what was read.
void readFaceGroups(const LineTokenizer& line, FaceLine& face, int n, int32_t materialCount) {
    const int count = line.tokenCount();
    const size_t kept = face.vertices.size();
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
        face.uvs.resize(kept);
        for (size_t k = 0; k < kept; ++k) {
            const int at = p + 2 + 2 * static_cast<int>(k);
            face.uvs[k] = {static_cast<float>(line.floatAt(at)), static_cast<float>(line.floatAt(at + 1))};
        }
        p += 2 * n + 3;
    }
    if (line.tokenIs(p, "COL")) {
        if (!group(p, p + n + 2)) return;
        face.colours.resize(kept);
        for (size_t k = 0; k < kept; ++k)
            face.colours[k] = static_cast<uint32_t>(line.intAt(p + 2 + static_cast<int>(k)));
    }
}

}  // namespace
