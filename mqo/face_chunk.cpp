// The face block of an Object chunk. A face line reads
//   n V(i0 .. i(n-1)) [M(m)] [UV(u0 v0 .. )] [COL(c0 .. )]
// with the optional groups in exactly this order. The classic reading keeps
// the first four corners of a face, the model reading all of them.
#include <algorithm>

#include "mqo/chunk_readers.h"
#include "mqo/face_line.h"
#include "mqo/plain_line.h"

namespace {

bool readPlainCorners(PlainLine& line, FaceList& faces, int32_t materialCount, bool wholeFaces, int32_t& materialIndex);
bool readPlainGroup(PlainLine& line, std::string_view keyword, auto&& readValue, int count);
int32_t readFaceGroups(const LineTokenizer& line, FaceList& faces, int n, int kept, int32_t materialCount);

}  // namespace

void readFaceChunk(ChunkCursor& cursor, ObjectRecord& object, int32_t materialCount) {
    const bool wholeFaces = cursor.mode() == ReadingMode::Model;
    for (;;) {
        const std::string_view text = cursor.readChunkText("the face block");
        if (readPlainFaceLine(text, object, materialCount, wholeFaces)) continue;
        if (cursor.split(text) == 0) continue;
        if (cursor.line().keywordIs("}", 1)) return;
        readFaceLine(cursor.line(), object, materialCount, wholeFaces);
    }
}

bool readPlainFaceLine(std::string_view text, ObjectRecord& object, int32_t materialCount, bool wholeFaces) {
    PlainLine line(text);
    int32_t materialIndex = -1;
    if (!readPlainCorners(line, object.faces, materialCount, wholeFaces, materialIndex)) {
        object.faces.dropFace();
        return false;
    }
    object.finishFace(materialIndex);
    return true;
}

// A line that is not a face at all fails the read; a face whose vertex group
// lacks its parentheses is passed over (false).
bool readFaceLine(const LineTokenizer& line, ObjectRecord& object, int32_t materialCount, bool wholeFaces) {
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
    const int kept = wholeFaces ? std::max(n, 0) : std::clamp(n, 0, 4);
    for (int k = 0; k < kept; ++k) object.faces.addVertex(line.intAt(3 + k));
    object.finishFace(readFaceGroups(line, object.faces, n, kept, materialCount));
    return true;
}

namespace {

// The plain line's corners, added to `faces`; false as soon as the line
// shows it is not plain.
bool readPlainCorners(PlainLine& line, FaceList& faces, int32_t materialCount, bool wholeFaces,
                      int32_t& materialIndex) {
    line.skipSeparators();
    int32_t n = 0;
    if (!line.takeInt(n) || n < 0) return false;
    line.skipSeparators();
    const size_t kept = static_cast<size_t>(wholeFaces ? n : std::min(n, 4));
    auto readVertex = [&](size_t k) {
        int32_t index = 0;
        if (!line.takeInt(index)) return false;
        if (k < kept) faces.addVertex(index);
        return true;
    };
    if (!readPlainGroup(line, "V", readVertex, n)) return false;
    int32_t material = -1;
    auto readMaterial = [&](size_t) {
        return line.takeInt(material);
    };
    if (line.at("M")) {
        if (!readPlainGroup(line, "M", readMaterial, 1)) return false;
        if (material >= 0 && material < materialCount) materialIndex = material;
    }
    if (line.at("UV")) {
        auto readUv = [&](size_t k) {
            double u = 0, v = 0;
            if (!line.takeDecimal(u)) return false;
            line.skipSeparators();
            if (!line.takeDecimal(v)) return false;
            if (k < kept) faces.addUv({static_cast<float>(u), static_cast<float>(v)});
            return true;
        };
        if (!readPlainGroup(line, "UV", readUv, n)) return false;
    }
    if (line.at("COL")) {
        auto readColour = [&](size_t k) {
            int32_t colour = 0;
            if (!line.takeInt(colour)) return false;
            if (k < kept) faces.addColour(static_cast<uint32_t>(colour));
            return true;
        };
        if (!readPlainGroup(line, "COL", readColour, n)) return false;
    }
    return true;
}

// `keyword`, "(", `count` values and ")"; then the line goes on at the next
// token, unless that is quoted: its text might be the next group's keyword.
bool readPlainGroup(PlainLine& line, std::string_view keyword, auto&& readValue, int count) {
    if (!line.take(keyword)) return false;
    line.skipSeparators();
    if (!line.take('(')) return false;
    for (int k = 0; k < count; ++k) {
        line.skipSeparators();
        if (!readValue(static_cast<size_t>(k))) return false;
    }
    line.skipSeparators();
    if (!line.take(')')) return false;
    line.skipSeparators();
    return !line.atQuote();
}

// The groups after the vertex group, for the first `kept` corners; returns
// the face's material. A malformed or misplaced group ends the line: the
// face keeps what was read.
int32_t readFaceGroups(const LineTokenizer& line, FaceList& faces, int n, int kept, int32_t materialCount) {
    const int count = line.tokenCount();
    auto group = [&](int p, int last) {
        return count > last && line.tokenIs(p + 1, "(") && line.tokenIs(last, ")");
    };
    int32_t materialIndex = -1;
    int p = n + 4;
    if (line.tokenIs(p, "M")) {
        if (!group(p, p + 3)) return materialIndex;
        const int32_t material = line.intAt(p + 2);
        if (material >= 0 && material < materialCount) materialIndex = material;
        p += 4;
    }
    if (line.tokenIs(p, "UV")) {
        if (!group(p, p + 2 * n + 2)) return materialIndex;
        for (int k = 0; k < kept; ++k)
            faces.addUv(
                {static_cast<float>(line.floatAt(p + 2 + 2 * k)), static_cast<float>(line.floatAt(p + 3 + 2 * k))});
        p += 2 * n + 3;
    }
    if (line.tokenIs(p, "COL")) {
        if (!group(p, p + n + 2)) return materialIndex;
        for (int k = 0; k < kept; ++k) faces.addColour(static_cast<uint32_t>(line.intAt(p + 2 + k)));
    }
    return materialIndex;
}

}  // namespace
