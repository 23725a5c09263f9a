// A readable account of a model for someone about to view it: whether it
// reads, its materials and objects, and how many face corners name a vertex
// their object does not have (the viewer cannot draw or collide those).
#pragma once

#include <cstdint>
#include <filesystem>

#include "model/model_archive.h"
#include "mqo/records.h"
#include "tools/mqoinfo/output_buffer.h"

// How a model reading went.
struct ModelReadOutcome {
    int32_t result = 0;
    int64_t lineNumber = 0;        // where reading stopped
    const char* failureText = "";  // what was expected there
    // The model's folder, where texture names are looked for.
    std::filesystem::path folder;
    // The archive the model was read from, where they are looked for first;
    // null for a plain model file.
    const ModelArchive* archive = nullptr;
};

// Corners of the object's faces whose vertex index lies outside 0 .. vertex
// count - 1.
int64_t countCornersOutsideVertices(const ObjectRecord& object);

// The classic reading: `lineNumber` is where reading stopped; it is shown
// only for a failure.
void printSummary(const ModelData& data, int32_t result, int64_t lineNumber, OutputBuffer& out);
// The model reading: names in UTF-8 from the model's code page, what was
// expected where reading stopped, and where each material's texture and
// alpha plane are found (for a model from an archive: in it, or on disk), or
// where they were looked for.
void printModelSummary(const ModelData& data, const ModelReadOutcome& outcome, OutputBuffer& out);
