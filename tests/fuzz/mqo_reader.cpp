// Any bytes as a model file, read the classic way and the model way and
// printed as mqoinfo prints them: the reader must end with one of its result
// codes, never crash, hang or allocate without bound, and the JSON must stay
// one well-nested line of valid UTF-8 whatever names and numbers the model
// holds. Each reading is made once from memory and once through a FILE*, and
// both must print the same. An input that starts as a zip archive is opened
// from memory as model mode opens a file: its model read as it inflates must
// print as the same entry inflated whole does. Every line read straight from
// its bytes must give what its tokens give. The curved surfaces, lathes and
// projections of each model reading, the archive's included, are made as
// model mode makes them, under a small limit, and each shape made must have
// the triangles counted for it beforehand.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_archive.h"
#include "model/object_mesh.h"
#include "model/shown_objects.h"
#include "mqo/face_line.h"
#include "mqo/line_readers.h"
#include "mqo/model_document.h"
#include "mqo/model_source.h"
#include "mqo/plain_line.h"
#include "tests/tools/json_text_checks.h"
#include "tools/mqoinfo/json_printer.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

// Texture coordinates and colours compare as the consumers see them.
bool sameFace(const FaceCorners& a, const FaceCorners& b) {
    if (a.materialIndex != b.materialIndex || !std::ranges::equal(a.vertices, b.vertices)) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        const TexturePoint left = a.uv(k), right = b.uv(k);
        if (memcmp(&left, &right, sizeof left) != 0 || a.colour(k) != b.colour(k)) return false;
    }
    return true;
}

// The reading as mqoinfo prints it, in JSON and as a summary, which walks
// everything a consumer of the document reads; with where reading stopped.
std::string printed(ModelDocument& document, ReadingMode mode, const ModelArchive* archive = nullptr) {
    const int32_t result = document.parse();
    if (result > ParseOk || result < ParseFormatError || (result != ParseOk) != (*document.failureText() != 0)) abort();
    OutputBuffer json, summary;
    if (mode == ReadingMode::Classic) {
        printDocumentJson(document.data(), result, json);
        printSummary(document.data(), result, document.lineNumber(), summary);
    } else {
        // Texture names are looked for where no file is.
        const ModelReadOutcome outcome{result, document.lineNumber(), document.failureText(), "/nonexistent", archive};
        printModelDocumentJson(document.data(), outcome, json);
        printModelSummary(document.data(), outcome, summary);
        if (!isValidUtf8(summary.text())) abort();
    }
    if (!isValidUtf8(json.text()) || !isWellNestedJsonLine(json.text())) abort();
    return std::to_string(document.lineNumber()) + document.failureText() + json.text();
}

// Enough for a few rounds of refinement of a small cage, quick to make.
constexpr int64_t FUZZ_SHAPED_TRIANGLES = 20000;

// Each shaped object made as model mode makes it must draw the triangles
// counted for it, unless the refiner refused its cage.
void makeShapes(const ModelData& data) {
    std::vector<const ObjectRecord*> objects;
    for (const ObjectRecord& object : data.objects) objects.push_back(&object);
    const ShapePlan plan = planShapes(objects, FUZZ_SHAPED_TRIANGLES);
    std::vector<MaterialRecord> materials;
    for (const MaterialRecord& material : data.materials) materials.push_back(material);
    for (size_t i = 0; i < objects.size(); ++i) {
        const ShownShape& shape = plan.objects[i];
        ObjectRecord object = *objects[i];
        if (object.visible == 0) continue;
        const bool refused = !makeShownObject(object, shape, materials).empty();
        if (!shape.shaped() || refused) continue;
        if (static_cast<int64_t>(buildObjectMesh(object).triangles.size()) != shape.triangles) abort();
    }
}

void readBothWays(std::string_view text, ReadingMode mode) {
    ModelDocument fromMemory(ModelData{}, text, mode);
    const std::string fromMemoryPrinted = printed(fromMemory, mode);
    if (mode == ReadingMode::Model) makeShapes(fromMemory.data());
    FILE* file = text.empty() ? nullptr : fmemopen(const_cast<char*>(text.data()), text.size(), "rb");
    if (file == nullptr) return;
    ModelDocument fromFile(ModelData{}, file, mode);
    if (printed(fromFile, mode) != fromMemoryPrinted) abort();
    fclose(file);
}

// The model of an archive, read from its stream and, when it inflates
// whole, from memory; its textures are looked for in it, and its thumbnail
// read within a limit.
void readArchive(std::string_view bytes) {
    const ModelText text(bytes, "fuzz.mqoz");
    if (text.stream() == nullptr) {
        if (text.problem().empty()) abort();
        return;
    }
    const ModelArchive& archive = *text.archive();
    ModelDocument streamed(ModelData{}, text.stream(), ReadingMode::Model);
    const std::string streamedPrinted = printed(streamed, ReadingMode::Model, &archive);
    if (!text.problem().empty()) return;
    makeShapes(streamed.data());
    std::vector<uint8_t> whole;
    std::string problem;
    if (archive.read(archive.modelEntry(), MAX_INFLATED_BYTES, whole, problem)) {
        ModelDocument fromMemory(ModelData{},
                                 std::string_view(reinterpret_cast<const char*>(whole.data()), whole.size()),
                                 ReadingMode::Model);
        if (printed(fromMemory, ReadingMode::Model, &archive) != streamedPrinted) abort();
    } else if (*streamed.failureText() == '\0') {
        // A model that read to its end came whole out of the stream.
        abort();
    }
    archive.readNamed("thumbnail.jpg", 4096, whole, problem);
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
            // A failure read from the tokens of a line read plainly escapes,
            // and ends the run as a crash would.
            for (bool wholeFaces : {false, true}) {
                if (!readPlainFaceLine(line, plain, 8, wholeFaces)) continue;
                if (!readFaceLine(*tokens, tokenized, 8, wholeFaces) ||
                    !sameFace(plain.faces.corners(plain.faces.size() - 1),
                              tokenized.faces.corners(tokenized.faces.size() - 1)))
                    abort();
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
    if (startsAsArchive(text)) readArchive(text);
    comparePlainLines(text);

    ModelSource source(text);
    StreamLineReader lines(source);
    volatile uint64_t sink = 0;
    while (lines.readLine() >= 0)
        for (int i = 0; i < lines.tokenCount(); ++i) sink = sink + static_cast<uint64_t>(lines.intAt(i));
    return 0;
}
