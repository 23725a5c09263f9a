// One model file read into memory: the document owns its line reader and the
// ModelData that the chunk readers fill.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string_view>
#include <vector>

#include "mqo/line_readers.h"
#include "mqo/model_source.h"
#include "mqo/records.h"

enum ParseResult : int32_t {
    ParseOk = 0,
    ParseError = -1,
    ParseEof = -2,
    ParseHeaderError = -3,
    ParseFormatError = -4,
};

class ModelDocument {
public:
    // Reads from `file`, opened by the caller in binary mode; never closes it.
    ModelDocument(const ModelData& initial, FILE* file);
    // Reads from memory; `bytes` must outlive the document.
    ModelDocument(const ModelData& initial, std::string_view bytes);
    virtual ~ModelDocument();

    ModelDocument(const ModelDocument&) = delete;
    ModelDocument& operator=(const ModelDocument&) = delete;

    // Reads the whole file once. On failure the objects and materials read
    // before the failing line stay in the document. A failed allocation ends
    // the read as ParseError: no exception escapes.
    int32_t parse();
    // A deep copy of everything read; callers that need a count use the
    // accessors below instead.
    ModelData getData() const;
    // Appends the object (a copy, or the object itself when moved in) and
    // returns the new object count.
    int32_t addObject(const ObjectRecord& object);
    int32_t addObject(ObjectRecord&& object);
    void addMaterial(const MaterialRecord& material);
    void addMaterial(MaterialRecord&& material);

    int32_t objectCount() const;
    int32_t materialCount() const;
    // Read-only view of the document's data, without a copy.
    const ModelData& data() const;
    // Number of lines (or 8190-byte line pieces) read so far: after a failed
    // parse, the line where reading stopped.
    int64_t lineNumber() const;

private:
    // Each chunk reader takes the lines after its chunk's head up to and
    // including its closing line; a failure is thrown as a ParseResult code.
    void readHeader();
    void readChunks();
    void readObject();
    void readSceneChunk();
    void skipChunk(int count);
    void skipBinaryBlock();
    void readMaterialChunk();
    int readMaterialAttribute(MaterialRecord& material, int i);
    int skipUnknownAttribute(int i) const;
    bool readObjectChunk(ObjectRecord& object);
    void readVertexChunk(ObjectRecord& object);
    bool readBinaryVertexChunk(ObjectRecord& object);
    void readBinaryVertices(ObjectRecord& object, int32_t count);
    void readVertexAttrChunk(ObjectRecord& object);
    // Sub-blocks of vertexattr close at a line whose first token is "}",
    // those of BVertex at a line whose last token is "}".
    enum class SubBlockEnd { AtFirstToken, AtLastToken };
    void readWeights(ObjectRecord& object, SubBlockEnd end);
    void skipSubBlock(SubBlockEnd end);
    bool endsSubBlock(SubBlockEnd end) const;
    bool isModellingKey() const;
    void readFaceChunk(ObjectRecord& object);
    void readFaceLine(ObjectRecord& object);
    void readFaceGroups(FaceRecord& face, int n);

    // Ends the parse with `code`; caught only by parse().
    [[noreturn]] static void fail(ParseResult code);
    // A chunk head that does not end with "{" fails the parse.
    void requireBlockHead() const;
    // Reads a line inside a chunk, where the end of the file is a failure.
    int readChunkLine();
    bool lastTokenIs(std::string_view text) const;
    // True for a line ending in "[", a byte count and "]": binary data follows.
    bool opensBinaryBlock() const;
    Point3 pointAt(int index) const;

    ModelSource source_;
    BufferedLineReader reader_;
    ModelData data_;
};
