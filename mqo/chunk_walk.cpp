// The walk over a model file: its two header lines, then every top-level
// chunk, read when the viewer needs it and skipped whole otherwise.
#include <new>
#include <stdexcept>
#include <utility>

#include "mqo/model_document.h"

int32_t ModelDocument::parse() {
    try {
        readHeader();
        readChunks();
        return ParseOk;
    } catch (int32_t code) {
        return code;
    } catch (const std::bad_alloc&) {
        return ParseError;
    } catch (const std::length_error&) {
        return ParseError;
    }
}

void ModelDocument::readHeader() {
    reader_.readLine();
    if (!reader_.keywordIs("Metasequoia", 2) || !reader_.tokenIs(1, "Document")) fail(ParseHeaderError);
    reader_.readLine();
    bool textFormat = reader_.keywordIs("Format", 4) && reader_.tokenIs(1, "Text") && reader_.tokenIs(2, "Ver");
    if (!textFormat || reader_.floatAt(3) != 1.0) fail(ParseFormatError);
}

// NOTE: there is no end marker: every line up to the physical end of the file
// is read, so chunks after an "Eof" line still count.
void ModelDocument::readChunks() {
    while (reader_.readLine() >= 0) {
        if (reader_.keywordIs("Scene", 2)) {
            requireBlockHead();
            readSceneChunk();
        } else if (reader_.keywordIs("Material", 2)) {
            requireBlockHead();
            readMaterialChunk();
        } else if (reader_.keywordIs("Object", 2)) {
            requireBlockHead();
            readObject();
        } else {
            skipChunk(reader_.tokenCount());
        }
    }
}

// An object joins the document only once its whole chunk has been read.
void ModelDocument::readObject() {
    ObjectRecord object;
    if (reader_.tokenCount() >= 3) copyRecordText(object.name, reader_.tokenAt(1));
    if (!readObjectChunk(object)) fail(ParseError);
    addObject(std::move(object));
}

// Only the last token of a line counts for nesting: "a { b" opens no block
// and "a { b }" closes one.
void ModelDocument::skipChunk(int count) {
    if (count < 1 || !lastTokenIs("{")) {
        if (opensBinaryBlock()) skipBinaryBlock();
        return;
    }
    for (int depth = 1; depth > 0;) {
        if (readChunkLine() == 0) continue;
        if (lastTokenIs("{"))
            ++depth;
        else if (lastTokenIs("}"))
            --depth;
        else if (opensBinaryBlock())
            skipBinaryBlock();
    }
}

// A negative count is refused: moving back would read the same lines again.
void ModelDocument::skipBinaryBlock() {
    int32_t byteCount = reader_.intAt(reader_.tokenCount() - 2);
    if (byteCount < 0) fail(ParseError);
    source_.skip(static_cast<uint64_t>(byteCount));
}

void ModelDocument::fail(ParseResult code) {
    throw static_cast<int32_t>(code);
}

void ModelDocument::requireBlockHead() const {
    if (!lastTokenIs("{")) fail(ParseError);
}

int ModelDocument::readChunkLine() {
    int count = reader_.readLine();
    if (count < 0) fail(ParseEof);
    return count;
}

bool ModelDocument::lastTokenIs(std::string_view text) const {
    return reader_.tokenIs(reader_.tokenCount() - 1, text);
}

bool ModelDocument::opensBinaryBlock() const {
    int count = reader_.tokenCount();
    return count >= 3 && reader_.tokenIs(count - 3, "[") && lastTokenIs("]");
}

Point3 ModelDocument::pointAt(int index) const {
    return {static_cast<float>(reader_.floatAt(index)), static_cast<float>(reader_.floatAt(index + 1)),
            static_cast<float>(reader_.floatAt(index + 2))};
}
