// Any bytes read as a model and printed by mqoinfo, as JSON and as a
// summary, the classic way and the model way: printing must never crash,
// and the JSON must stay one well-nested line of valid UTF-8 whatever names
// and numbers the model holds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mqo/model_document.h"
#include "tests/tools/json_text_checks.h"
#include "tools/mqoinfo/json_printer.h"
#include "tools/mqoinfo/summary_printer.h"

namespace {

void checkJson(const OutputBuffer& json) {
    if (!isValidUtf8(json.text()) || !isWellNestedJsonLine(json.text())) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    ModelDocument classic(ModelData{}, text);
    const int32_t result = classic.parse();
    OutputBuffer json, summary;
    printDocumentJson(classic.data(), result, json);
    checkJson(json);
    printSummary(classic.data(), result, classic.lineNumber(), summary);

    ModelDocument model(ModelData{}, text, ReadingMode::Model);
    // Texture names are looked for where no file is.
    const ModelReadOutcome outcome{model.parse(), model.lineNumber(), model.failureText(), "/nonexistent"};
    OutputBuffer modelJson;
    printModelDocumentJson(model.data(), outcome, modelJson);
    checkJson(modelJson);
    printModelSummary(model.data(), outcome, summary);
    if (!isValidUtf8(summary.text())) abort();
    return 0;
}
