// One model file read into memory: the document reads the file's chunks
// through its cursor into the ModelData it owns.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

#include "mqo/chunk_cursor.h"
#include "mqo/parse_result.h"
#include "mqo/records.h"

class ModelDocument {
public:
    // Reads from `file`, opened by the caller in binary mode; never closes it.
    ModelDocument(const ModelData& initial, FILE* file, ReadingMode mode = ReadingMode::Classic);
    // Reads from memory; `bytes` must outlive the document.
    ModelDocument(const ModelData& initial, std::string_view bytes, ReadingMode mode = ReadingMode::Classic);
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

    int32_t objectCount() const;
    int32_t materialCount() const;
    // Read-only view of the document's data, without a copy.
    const ModelData& data() const;
    // The data itself, for a caller that takes the records out of it.
    ModelData& data();
    // Number of lines read so far (ChunkCursor::lineNumber): after a failed
    // parse, the line where reading stopped.
    int64_t lineNumber() const;
    // After a failed parse, what the reader expected at that line, such as
    // `expected "{" at the end of an Object line`; empty otherwise.
    const char* failureText() const;

private:
    void readHeader();
    void readChunks();
    void readObject();
    void readCodePage();

    ChunkCursor cursor_;
    ModelData data_;
    ReadFailure failure_;
};
