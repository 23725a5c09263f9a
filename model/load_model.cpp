#include <algorithm>
#include <cstdio>

#include "model/loaded_model.h"
#include "model/model_file.h"

namespace {

void printMessage(const char* text);
void reportParseFailure(int32_t result);
void copyIntoTables(const ModelData& data);
std::string parseFailureText(int32_t result);

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
        copyIntoTables(currentDocument->data());
    else
        reportParseFailure(result);
    fclose(file);
    return 0;
}

std::optional<ModelReadFailure> loadModelFile(FILE* file) {
    releaseModel();
    currentDocument = new ModelDocument(ModelData{}, file);
    int32_t result = currentDocument->parse();
    if (result == ParseOk) {
        copyIntoTables(currentDocument->data());
        return std::nullopt;
    }
    ModelReadFailure failure{currentDocument->lineNumber(), parseFailureText(result)};
    // A model that can't be read shows an empty scene, not the part before
    // the fault.
    releaseModel();
    return failure;
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

// Takes each record straight from the document (one copy per entry); a model
// with more than the tables hold keeps its first MAX_OBJECTS objects and
// MAX_MATERIALS materials. The material case is reported by texture set-up.
void copyIntoTables(const ModelData& data) {
    if (data.objectCount > MAX_OBJECTS) printMessage("This program can't load over MAX_OBJECTS objects\n");
    int32_t objectCount = std::min(data.objectCount, MAX_OBJECTS);
    for (int32_t i = 0; i < objectCount; ++i) loadedObjects[i] = data.objects[i];
    int32_t materialCount = std::min(data.materialCount, MAX_MATERIALS);
    for (int32_t m = 0; m < materialCount; ++m) loadedMaterials[m] = data.materials[m];
}

std::string parseFailureText(int32_t result) {
    switch (result) {
    case ParseEof: return "expected \"}\" before the end of the file";
    case ParseHeaderError: return "expected \"Metasequoia Document\"";
    case ParseFormatError: return "expected \"Format Text Ver 1.0\"";
    default: return "expected a line of the model format";
    }
}

}  // namespace
