// Any bytes as a model file: the reader must end with one of its result
// codes, never crash, hang or allocate without bound. The same bytes are read
// once from memory and once through a FILE*, and both readings must agree.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "mqo/line_readers.h"
#include "mqo/model_document.h"
#include "mqo/model_source.h"

namespace {

// Walks everything a consumer of the document would read.
uint64_t touch(const ModelData& data) {
    uint64_t sum = static_cast<uint64_t>(data.scene.angles[0] != 0);
    for (const ObjectRecord& object : data.objects) {
        sum += object.name.view().size();
        for (int32_t i = 0; i < object.vertexCount; ++i) sum += object.vertexAt(i).weight != 0;
        for (const FaceRecord& face : object.faces) sum += static_cast<uint32_t>(face.materialIndex + face.vertexCount);
    }
    for (int32_t i = 0; i < data.materialCount; ++i) sum += data.materialAt(i).tex.view().size();
    return sum;
}

bool sameObjects(const ModelData& a, const ModelData& b) {
    if (a.objectCount != b.objectCount || a.materialCount != b.materialCount) return false;
    for (int32_t i = 0; i < a.objectCount; ++i) {
        const ObjectRecord& x = a.objects[i];
        const ObjectRecord& y = b.objects[i];
        if (x.vertexCount != y.vertexCount || x.faceCount != y.faceCount) return false;
        for (int32_t f = 0; f < x.faceCount; ++f) {
            const FaceRecord left = x.faces[f], right = y.faces[f];
            if (memcmp(&left, &right, sizeof(FaceRecord)) != 0) return false;
        }
    }
    return true;
}

void readFromFile(const uint8_t* bytes, size_t size, const ModelDocument& fromMemory, int32_t memoryResult) {
    FILE* file = fmemopen(const_cast<uint8_t*>(bytes), size, "rb");
    if (file == nullptr) return;
    ModelDocument fromFile(ModelData{}, file);
    int32_t fileResult = fromFile.parse();
    if (fileResult != memoryResult || fromFile.lineNumber() != fromMemory.lineNumber() ||
        !sameObjects(fromFile.data(), fromMemory.data()))
        abort();
    fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(bytes), size);
    ModelDocument document(ModelData{}, text);
    int32_t result = document.parse();
    if (result > ParseOk || result < ParseFormatError) abort();
    volatile uint64_t sink = touch(document.getData());
    (void)sink;
    if (size > 0) readFromFile(bytes, size, document, result);

    ModelSource source(text);
    StreamLineReader lines(source);
    while (lines.readLine() >= 0)
        for (int i = 0; i < lines.tokenCount(); ++i) sink = sink + static_cast<uint64_t>(lines.intAt(i));
    return 0;
}
