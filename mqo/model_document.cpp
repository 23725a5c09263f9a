#include "mqo/model_document.h"

#include <new>
#include <stdexcept>
#include <utility>

#include "mqo/chunk_readers.h"

ModelDocument::ModelDocument(const ModelData& initial, FILE* file) : cursor_(file), data_(initial) {}

ModelDocument::ModelDocument(const ModelData& initial, std::string_view bytes) : cursor_(bytes), data_(initial) {}

ModelDocument::~ModelDocument() = default;

int32_t ModelDocument::parse() {
    try {
        readHeader();
        readChunks();
        return ParseOk;
    } catch (ParseResult code) {
        return code;
    } catch (const std::bad_alloc&) {
        return ParseError;
    } catch (const std::length_error&) {
        return ParseError;
    }
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

int64_t ModelDocument::lineNumber() const {
    return cursor_.lineNumber();
}

void ModelDocument::readHeader() {
    const LineTokenizer& line = cursor_.line();
    cursor_.readLine();
    if (!line.keywordIs("Metasequoia", 2) || !line.tokenIs(1, "Document")) ChunkCursor::fail(ParseHeaderError);
    cursor_.readLine();
    bool textFormat = line.keywordIs("Format", 4) && line.tokenIs(1, "Text") && line.tokenIs(2, "Ver");
    if (!textFormat || line.floatAt(3) != 1.0) ChunkCursor::fail(ParseFormatError);
}

// NOTE: there is no end marker: every line up to the physical end of the file
// is read, so chunks after an "Eof" line still count.
void ModelDocument::readChunks() {
    const LineTokenizer& line = cursor_.line();
    while (cursor_.readLine() >= 0) {
        if (line.keywordIs("Scene", 2)) {
            cursor_.requireBlockHead();
            readSceneChunk(cursor_, data_.scene);
        } else if (line.keywordIs("Material", 2)) {
            cursor_.requireBlockHead();
            readMaterialChunk(cursor_, data_);
        } else if (line.keywordIs("Object", 2)) {
            cursor_.requireBlockHead();
            readObject();
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
    if (!readObjectChunk(cursor_, object, data_.materialCount)) ChunkCursor::fail(ParseError);
    addObject(std::move(object));
}
