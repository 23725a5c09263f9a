// Any bytes read as a model and printed by mqoinfo, as JSON and as a
// summary: printing must never crash, and the JSON must stay one well-nested
// line of valid UTF-8 whatever names and numbers the model holds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mqo/model_document.h"
#include "tests/tools/json_text_checks.h"
#include "tools/mqoinfo/json_printer.h"
#include "tools/mqoinfo/summary_printer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ModelDocument document(ModelData{}, std::string_view(reinterpret_cast<const char*>(data), size));
    const int32_t result = document.parse();

    OutputBuffer json;
    printDocumentJson(document.data(), result, json);
    if (!isValidUtf8(json.text()) || !isWellNestedJsonLine(json.text())) abort();

    OutputBuffer summary;
    printSummary(document.data(), result, document.lineNumber(), summary);
    if (!isValidUtf8(summary.text())) abort();
    return 0;
}
