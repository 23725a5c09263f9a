#include "model_files.h"

#include <fstream>
#include <unistd.h>

#include "model/loaded_model.h"

ScratchFolder::ScratchFolder() {
    static int made = 0;
    path_ = std::filesystem::temp_directory_path() /
            ("varnel-model-" + std::to_string(getpid()) + "-" + std::to_string(made++));
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::write(std::string_view name, std::string_view bytes) const {
    std::filesystem::path file = path_ / name;
    std::ofstream(file, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file.string();
}

std::string modelText(int materials, int objects) {
    std::string text(MODEL_HEADER);
    text += "Material " + std::to_string(materials) + " {\r\n";
    for (int m = 0; m < materials; ++m) {
        text += "\t\"material" + std::to_string(m) + "\" col(1.000 0.500 0.250 1.000) dif(0.800)\r\n";
    }
    text += "}\r\n";
    for (int i = 0; i < objects; ++i) {
        text += "Object \"object" + std::to_string(i) + "\" {\r\n"
                "\tvertex 3 {\r\n\t\t0 0 0\r\n\t\t10 0 0\r\n\t\t0 10 0\r\n\t}\r\n"
                "\tface 1 {\r\n\t\t3 V(0 1 2) M(" + std::to_string(i) + ")\r\n\t}\r\n"
                "}\r\n";
    }
    return text + "Eof\r\n";
}

void resetLoadedModel() {
    releaseModel();
    for (ObjectRecord& object : loadedObjects) {
        object = ObjectRecord{};
    }
    for (MaterialRecord& material : loadedMaterials) {
        material = MaterialRecord{};
    }
}
