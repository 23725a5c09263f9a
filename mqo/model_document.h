// One model file read into memory: the document owns its line reader and the
// ModelData that the chunk readers fill.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string_view>

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

    int32_t parse();
    // A deep copy of everything read; callers that need a count use the
    // accessors below instead.
    ModelData getData() const;
    int32_t addObject(const ObjectRecord& object);
    void addMaterial(const MaterialRecord& material);

    int32_t objectCount() const;
    int32_t materialCount() const;
    // Read-only view of the document's data, without a copy.
    const ModelData& data() const;
    // Number of lines (or 8190-byte line pieces) read so far: after a failed
    // parse, the line where reading stopped.
    int64_t lineNumber() const;

    // (private members are the reader's own)
};
