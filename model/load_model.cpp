#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "model/loaded_model.h"
#include "model/model_file.h"
#include "model/user_messages.h"

namespace {

void printMessage(const char* text);
void reportParseFailure(int32_t result);
void moveIntoTables(ModelData& data);
void clearTables();

}  // namespace

int32_t loadModel(const char* path) {
    FILE* file = openModelFile(path);
    if (file == nullptr) {
        printMessage("Can't open mqo file. [enter]\n");
        getchar();
        return -1;
    }
    releaseModel();
    currentDocument = new ModelDocument(ModelData{}, file);
    int32_t result = currentDocument->parse();
    if (result == ParseOk)
        moveIntoTables(currentDocument->data());
    else
        reportParseFailure(result);
    fclose(file);
    return 0;
}

std::optional<ModelReadFailure> loadModelFile(const ModelText& text) {
    if (text.stream() == nullptr) return ModelReadFailure{0, "", text.problem()};
    auto document = std::make_unique<ModelDocument>(ModelData{}, text.stream(), ReadingMode::Model);
    const int32_t result = document->parse();
    // A broken or overlong archive entry ends the text early, which the
    // reader takes for its end: what it made of it is no model.
    if (std::string problem = text.problem(); !problem.empty()) return ModelReadFailure{0, "", problem};
    // A model that can't be read shows nothing of the part before the fault.
    if (result != ParseOk) return ModelReadFailure{document->lineNumber(), document->failureText(), ""};
    releaseModel();
    clearTables();
    currentDocument = document.release();
    moveIntoTables(currentDocument->data());
    // Texture names and the names in messages are in the model's code page.
    modelSettings.codeset = iconvName(currentDocument->data().codePage);
    modelSettings.archive = text.archive();
    return std::nullopt;
}

namespace {

// The console shows these among messages of later stages; flushing keeps
// them in order even when standard output is a pipe.
void printMessage(const char* text) {
    fputs(text, stdout);
    fflush(stdout);
}

void reportParseFailure(int32_t result) {
    const char* message = parseFailureMessage(result);
    if (message == nullptr) return;
    fputs(message, stdout);
    printMessage("\n");
}

// The objects move from the document into the table, so a big model's
// geometry is never held twice; the document keeps its counts. Materials are
// small and copied. A model with more than the tables hold keeps its first
// MAX_OBJECTS objects and MAX_MATERIALS materials; the material case is
// reported by texture set-up.
void moveIntoTables(ModelData& data) {
    if (data.objectCount > MAX_OBJECTS && inModelMode())
        tellUser("the model has " + std::to_string(data.objectCount) + " objects; only the first " +
                 std::to_string(MAX_OBJECTS) + " are shown");
    else if (data.objectCount > MAX_OBJECTS)
        printMessage("This program can't load over MAX_OBJECTS objects\n");
    int32_t objectCount = std::min(data.objectCount, MAX_OBJECTS);
    for (int32_t i = 0; i < objectCount; ++i) loadedObjects[i] = std::move(data.objects[i]);
    int32_t materialCount = std::min(data.materialCount, MAX_MATERIALS);
    for (int32_t m = 0; m < materialCount; ++m) loadedMaterials[m] = data.materials[m];
}

// The model before leaves nothing behind, its pictures least of all.
void clearTables() {
    for (ObjectRecord& object : loadedObjects) object = ObjectRecord{};
    for (MaterialRecord& material : loadedMaterials) material = MaterialRecord{};
}

}  // namespace
