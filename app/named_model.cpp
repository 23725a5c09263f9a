#include "app/named_model.h"

#include <filesystem>
#include <string>

#include "model/console_text.h"
#include "model/loaded_model.h"
#include "model/model_archive.h"
#include "model/model_file.h"
#include "physics/physics_world.h"

namespace {

void reportReadFailure(const char* program, const char* path, const ModelReadFailure& failure);

}  // namespace

FILE* openNamedModel(const char* program, const char* path) {
    std::string problem;
    FILE* file = openModelFile(path, &problem);
    useLocaleEncoding();
    if (file == nullptr)
        std::fprintf(stderr, "%s: cannot open '%s': %s\n", program, printableName(path).c_str(),
                     consoleText(problem, "UTF-8").c_str());
    return file;
}

void useModelMode(const char* path, bool separateParts, bool still) {
    modelSettings.mode = ViewerMode::Model;
    modelSettings.folder = std::filesystem::path(path).parent_path();
    modelSettings.separateParts = separateParts;
    modelSettings.still = still;
    physicsWorld.paused = still;
}

bool readNamedModel(const char* program, FILE* file, const char* path) {
    const ModelText text(file, path);
    const auto failure = loadModelFile(text);
    if (failure) reportReadFailure(program, path, *failure);
    return !failure;
}

namespace {

void reportReadFailure(const char* program, const char* path, const ModelReadFailure& failure) {
    if (!failure.archiveProblem.empty()) {
        std::fprintf(stderr, "%s: cannot read '%s': %s\n", program, printableName(path).c_str(),
                     consoleText(failure.archiveProblem, "UTF-8").c_str());
        return;
    }
    std::fprintf(stderr, "%s: %s:%lld: %s\n", program, printableName(path).c_str(),
                 static_cast<long long>(failure.line), consoleText(failure.expected, "UTF-8").c_str());
}

}  // namespace
