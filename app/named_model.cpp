#include "app/named_model.h"

#include <filesystem>

#include "model/console_text.h"
#include "model/model_archive.h"
#include "model/model_file.h"
#include "model/user_messages.h"
#include "physics/physics_world.h"

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
    modelSettings.path = path;
    physicsWorld.paused = still;
}

bool readNamedModel(FILE* file, const std::string& path) {
    const ModelText text(file, path);
    const auto failure = loadModelFile(text);
    if (failure) reportReadFailure(path, *failure);
    return !failure;
}

void reportReadFailure(const std::string& path, const ModelReadFailure& failure) {
    const std::string file = printableName(path);
    if (!failure.archiveProblem.empty())
        tellUser("cannot read '" + file + "': " + failure.archiveProblem, MessageKind::ReadFailure);
    else
        tellUser(file + ":" + std::to_string(failure.line) + ": " + failure.expected, MessageKind::ReadFailure);
}
