// A readable account of a model for someone about to view it: whether it
// reads, its materials and objects, and how many face corners name a vertex
// their object does not have (the viewer cannot draw or collide those).
#pragma once

#include <cstdint>

#include "mqo/records.h"
#include "tools/mqoinfo/output_buffer.h"

// Corners among each face's first vertexCount (at most four) whose vertex
// index lies outside 0 .. vertex count - 1.
int64_t countCornersOutsideVertices(const ObjectRecord& object);

// `lineNumber` is where reading stopped; it is shown only for a failure.
void printSummary(const ModelData& data, int32_t result, int64_t lineNumber, OutputBuffer& out);
