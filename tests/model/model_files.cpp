#include "model_files.h"

#include <algorithm>
#include <fstream>
#include <unistd.h>

#include "model/loaded_model.h"

ScratchFolder::ScratchFolder()
    : path_(std::filesystem::temp_directory_path() / ("varnel-model-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::write(std::string_view name, std::string_view bytes) const {
    std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
}

std::string modelText(int materials, int objects) {
    std::string text(MODEL_HEADER);
    text += "Material " + std::to_string(materials) + " {\r\n";
    for (int m = 0; m < materials; ++m) {
        text += "\"material" + std::to_string(m) + "\" col(1 0.5 0.25 1)\r\n";
    }
    text += "}\r\n";
    for (int i = 0; i < objects; ++i) {
        text += "Object \"object" + std::to_string(i) + "\" {\r\n"
                "vertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n"
                "face 1 {\r\n3 V(0 1 2) M(" + std::to_string(i) + ")\r\n}\r\n}\r\n";
    }
    return text + "Eof\r\n";
}

void resetLoadedModel() {
    releaseModel();
    std::fill(std::begin(loadedObjects), std::end(loadedObjects), ObjectRecord{});
    std::fill(std::begin(loadedMaterials), std::end(loadedMaterials), MaterialRecord{});
}
