// Any bytes as a model file, read the classic way and the model way: the
// reader must end with one of its result codes, never crash, hang or
// allocate without bound. Each reading is made once from memory and once
// through a FILE*, and both must agree. Every line read straight from its
// bytes must give what its tokens give.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "mqo/face_line.h"
#include "mqo/line_readers.h"
#include "mqo/model_document.h"
#include "mqo/model_source.h"
#include "mqo/plain_line.h"

namespace {

// Walks everything a consumer of the document would read.
uint64_t touch(const ModelData& data) {
    uint64_t sum = static_cast<uint64_t>(data.scene.angles[0] != 0);
    for (const ObjectRecord& object : data.objects) {
        sum += object.name.view().size();
        for (int32_t i = 0; i < object.vertexCount; ++i) sum += object.vertexAt(i).weight != 0;
        for (size_t f = 0; f < object.faces.size(); ++f) {
            const FaceCorners corners = object.faces.corners(f);
            sum += static_cast<uint32_t>(corners.materialIndex) + corners.size() + corners.uv(0).u + corners.colour(0);
        }
    }
    for (int32_t i = 0; i < data.materialCount; ++i) sum += data.materialAt(i).tex.view().size();
    return sum;
}

template <typename T>
bool sameBytes(std::span<const T> a, std::span<const T> b) {
    return a.size() == b.size() && (a.empty() || memcmp(a.data(), b.data(), a.size_bytes()) == 0);
}

// Texture coordinates and colours compare as the consumers see them.
bool sameFace(const FaceCorners& a, const FaceCorners& b) {
    if (a.materialIndex != b.materialIndex || !sameBytes(a.vertices, b.vertices)) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        const TexturePoint left = a.uv(k), right = b.uv(k);
        if (memcmp(&left, &right, sizeof left) != 0 || a.colour(k) != b.colour(k)) return false;
    }
    return true;
}

bool sameObjects(const ModelData& a, const ModelData& b) {
    if (a.objectCount != b.objectCount || a.materialCount != b.materialCount || a.codePage != b.codePage) return false;
    for (int32_t i = 0; i < a.objectCount; ++i) {
        const ObjectRecord& x = a.objects[i];
        const ObjectRecord& y = b.objects[i];
        if (x.vertexCount != y.vertexCount || x.faceCount != y.faceCount) return false;
        for (size_t f = 0; f < x.faces.size(); ++f)
            if (!sameFace(x.faces.corners(f), y.faces.corners(f))) return false;
    }
    return true;
}

void readBothWays(std::string_view text, ReadingMode mode) {
    ModelDocument fromMemory(ModelData{}, text, mode);
    const int32_t result = fromMemory.parse();
    if (result > ParseOk || result < ParseFormatError || (result != ParseOk) != (*fromMemory.failureText() != 0))
        abort();
    volatile uint64_t sink = touch(fromMemory.getData());
    (void)sink;
    if (text.empty()) return;
    FILE* file = fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (file == nullptr) return;
    ModelDocument fromFile(ModelData{}, file, mode);
    if (fromFile.parse() != result || fromFile.lineNumber() != fromMemory.lineNumber() ||
        strcmp(fromFile.failureText(), fromMemory.failureText()) != 0 ||
        !sameObjects(fromFile.data(), fromMemory.data()))
        abort();
    fclose(file);
}

// Plain lines read straight from their bytes against their tokens, in the
// classic pairing and in that of a code page the input picks.
void comparePlainLines(std::string_view text) {
    LineTokenizer classic, paired;
    paired.pairBytesAs(static_cast<CodePage>(text.empty() ? 0 : static_cast<unsigned char>(text[0]) % 5));
    ObjectRecord plain, tokenized;
    for (size_t start = 0; start < text.size();) {
        const size_t lineFeed = text.find('\n', start);
        const std::string_view line =
            text.substr(start, lineFeed == std::string_view::npos ? text.npos : lineFeed + 1 - start);
        start += line.size();
        for (LineTokenizer* tokens : {&classic, &paired}) {
            tokens->split(line);
            for (bool wholeFaces : {false, true}) {
                if (!readPlainFaceLine(line, plain, 8, wholeFaces)) continue;
                try {
                    if (!readFaceLine(*tokens, tokenized, 8, wholeFaces) ||
                        !sameFace(plain.faces.corners(plain.faces.size() - 1),
                                  tokenized.faces.corners(tokenized.faces.size() - 1)))
                        abort();
                } catch (const ReadFailure&) {
                    abort();
                }
            }
            double point[3];
            if (!readPlainPoint(line, point)) continue;
            const double tokenPoint[3] = {tokens->floatAt(0), tokens->floatAt(1), tokens->floatAt(2)};
            if (tokens->tokenCount() < 3 || memcmp(point, tokenPoint, sizeof point) != 0) abort();
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    readBothWays(text, ReadingMode::Classic);
    readBothWays(text, ReadingMode::Model);
    comparePlainLines(text);

    ModelSource source(text);
    StreamLineReader lines(source);
    volatile uint64_t sink = 0;
    while (lines.readLine() >= 0)
        for (int i = 0; i < lines.tokenCount(); ++i) sink = sink + static_cast<uint64_t>(lines.intAt(i));
    return 0;
}
