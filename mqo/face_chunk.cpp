// The face block of an Object chunk. A face line reads
//   n V(i0 .. i(n-1)) [M(m)] [UV(u0 v0 .. )] [COL(c0 .. )]
// with the optional groups in exactly this order; only the first four
// corners are kept.
#include <algorithm>

#include "mqo/model_document.h"

void ModelDocument::readFaceChunk(ObjectRecord& object) {
    for (;;) {
        if (readChunkLine() == 0) continue;
        if (reader_.keywordIs("}", 1)) return;
        readFaceLine(object);
    }
}

// A line that is not a face at all fails the parse; a face whose vertex
// group lacks its parentheses is passed over.
void ModelDocument::readFaceLine(ObjectRecord& object) {
    const int count = reader_.tokenCount();
    // NOTE: the corner count comes from the file: a huge one must not
    // overflow when the line's length is checked against it.
    const int64_t corners = reader_.intAt(0);
    if (!reader_.tokenIs(1, "V") || count < corners + 4) fail(ParseError);
    const int n = static_cast<int>(corners);
    if (!reader_.tokenIs(2, "(") || !reader_.tokenIs(n + 3, ")")) return;
    FaceRecord face;
    face.vertexCount = std::clamp(n, 0, 4);
    for (int k = 0; k < face.vertexCount; ++k) face.vertexIndex[k] = reader_.intAt(3 + k);
    readFaceGroups(face, n);
    object.appendFace(face);
}

// A malformed or misplaced group ends the line; the face keeps what was read.
void ModelDocument::readFaceGroups(FaceRecord& face, int n) {
    const int count = reader_.tokenCount();
    auto group = [&](int p, int last) {
        return count > last && reader_.tokenIs(p + 1, "(") && reader_.tokenIs(last, ")");
    };
    int p = n + 4;
    if (reader_.tokenIs(p, "M")) {
        if (!group(p, p + 3)) return;
        int32_t material = reader_.intAt(p + 2);
        if (material >= 0 && material < data_.materialCount) face.materialIndex = material;
        p += 4;
    }
    if (reader_.tokenIs(p, "UV")) {
        if (!group(p, p + 2 * n + 2)) return;
        for (int k = 0; k < face.vertexCount; ++k) {
            face.uv[k][0] = static_cast<float>(reader_.floatAt(p + 2 + 2 * k));
            face.uv[k][1] = static_cast<float>(reader_.floatAt(p + 3 + 2 * k));
        }
        p += 2 * n + 3;
    }
    if (reader_.tokenIs(p, "COL")) {
        if (!group(p, p + n + 2)) return;
        for (int k = 0; k < face.vertexCount; ++k) face.color[k] = static_cast<uint32_t>(reader_.intAt(p + 2 + k));
    }
}
