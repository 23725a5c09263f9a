#include "mqo/model_document.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "mqo/chunk_readers.h"

namespace {

ReadFailure outOfMemory();

}  // namespace

ModelDocument::ModelDocument(const ModelData& initial, FILE* file, ReadingMode mode)
    : cursor_(file, mode), data_(initial) {}

ModelDocument::ModelDocument(const ModelData& initial, std::string_view bytes, ReadingMode mode)
    : cursor_(bytes, mode), data_(initial) {}

ModelDocument::~ModelDocument() = default;

int32_t ModelDocument::parse() {
    try {
        readHeader();
        readChunks();
        return ParseOk;
    } catch (const ReadFailure& failure) {
        failure_ = failure;
    } catch (const std::bad_alloc&) {
        failure_ = outOfMemory();
    } catch (const std::length_error&) {
        failure_ = outOfMemory();
    }
    return failure_.code;
}

ModelData ModelDocument::getData() const {
    return data_;
}

int32_t ModelDocument::addObject(const ObjectRecord& object) {
    return addObject(ObjectRecord(object));
}

int32_t ModelDocument::addObject(ObjectRecord&& object) {
    data_.objects.push_back(std::move(object));
    return ++data_.objectCount;
}

void ModelDocument::addMaterial(const MaterialRecord& material) {
    data_.appendMaterial(material);
}

int32_t ModelDocument::objectCount() const {
    return data_.objectCount;
}

int32_t ModelDocument::materialCount() const {
    return data_.materialCount;
}

const ModelData& ModelDocument::data() const {
    return data_;
}

ModelData& ModelDocument::data() {
    return data_;
}

int64_t ModelDocument::lineNumber() const {
    return cursor_.lineNumber();
}

const char* ModelDocument::failureText() const {
    return failure_.expected;
}

void ModelDocument::readHeader() {
    const LineTokenizer& line = cursor_.line();
    cursor_.readLine();
    if (!line.keywordIs("Metasequoia", 2) || !line.tokenIs(1, "Document"))
        ChunkCursor::fail(ParseHeaderError, "expected \"Metasequoia Document\"");
    cursor_.readLine();
    const bool textFormat = line.keywordIs("Format", 4) && line.tokenIs(1, "Text") && line.tokenIs(2, "Ver");
    const double version = line.floatAt(3);
    if (cursor_.mode() == ReadingMode::Classic) {
        if (!textFormat || version != 1.0) ChunkCursor::fail(ParseFormatError, "expected \"Format Text Ver 1.0\"");
    } else if (!textFormat || (version != 1.0 && version != 1.1 && version != 1.2)) {
        ChunkCursor::fail(ParseFormatError,
                          "expected \"Format Text Ver 1.0\", \"Format Text Ver 1.1\" or \"Format Text Ver 1.2\"");
    }
}

// NOTE: there is no end marker: every line up to the physical end of the file
// is read, so chunks after an "Eof" line still count.
void ModelDocument::readChunks() {
    const LineTokenizer& line = cursor_.line();
    const bool modelReading = cursor_.mode() == ReadingMode::Model;
    while (cursor_.readLine() >= 0) {
        if (line.keywordIs("Scene", 2)) {
            cursor_.requireBlockHead("a Scene line");
            readSceneChunk(cursor_, data_.scene);
        } else if (line.keywordIs("Material", 2)) {
            cursor_.requireBlockHead("a Material line");
            readMaterialChunk(cursor_, data_);
        } else if (line.keywordIs("Object", 2)) {
            cursor_.requireBlockHead("an Object line");
            readObject();
        } else if (modelReading && line.keywordIs("CodePage", 2)) {
            readCodePage();
        } else if (modelReading && line.keywordIs("Thumbnail", 2) && cursor_.lastTokenIs("{")) {
            readThumbnailChunk(cursor_, data_.thumbnail);
        } else {
            cursor_.skipChunk();
        }
    }
}

// An object joins the document only once its whole chunk has been read.
void ModelDocument::readObject() {
    ObjectRecord object;
    const LineTokenizer& line = cursor_.line();
    if (line.tokenCount() >= 3) object.name = line.tokenAt(1);
    readObjectChunk(cursor_, object, data_.materialCount);
    addObject(std::move(object));
}

// A code page the viewer does not know leaves the texts as they were read.
void ModelDocument::readCodePage() {
    if (std::optional<CodePage> page = codePageNamed(cursor_.line().tokenAt(1))) {
        data_.codePage = *page;
        cursor_.useCodePage(*page);
    }
}

namespace {

ReadFailure outOfMemory() {
    ReadFailure failure;
    constexpr std::string_view text = "not enough memory to hold the model";
    text.copy(failure.expected, text.size());
    return failure;
}

}  // namespace
