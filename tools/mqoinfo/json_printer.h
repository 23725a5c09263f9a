// The whole of a model document as one line of JSON in a fixed layout, so
// that scripts and tests can compare documents as text.
#pragma once

#include <cstdint>

#include "mqo/records.h"
#include "tools/mqoinfo/output_buffer.h"
#include "tools/mqoinfo/summary_printer.h"

// Prints `data` with the parse result that produced it; after a failed parse
// `data` is what the document held when reading stopped.
void printDocumentJson(const ModelData& data, int32_t result, OutputBuffer& out);
// The model reading's form: the code page, names in UTF-8 from it, where
// and why reading stopped, the files each material's texture and alpha
// plane are found in (null when none is), and every corner of each face.
void printModelDocumentJson(const ModelData& data, const ModelReadOutcome& outcome, OutputBuffer& out);
