// Files written by the tests into a scratch folder, model text made to
// order, and the loaded tables put back in their start-of-program state.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/loaded_model.h"

constexpr std::string_view MODEL_HEADER = "Metasequoia Document\r\nFormat Text Ver 1.0\r\n";

// A fresh folder of its own under the temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string name = (std::filesystem::temp_directory_path() / "varnel-test-XXXXXX").string();
        if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot make " + name);
        path_ = name;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to the file `name` in the folder; returns its path.
    std::string write(std::string_view name, std::string_view bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file.string();
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// `materials` materials named "material<m>", then `objects` one-triangle
// objects named "object<i>" whose face uses material i.
inline std::string modelText(int materials, int objects) {
    std::string text(MODEL_HEADER);
    text += "Material " + std::to_string(materials) + " {\r\n";
    for (int m = 0; m < materials; ++m) text += "\"material" + std::to_string(m) + "\" col(1 0.5 0.25 1)\r\n";
    text += "}\r\n";
    for (int i = 0; i < objects; ++i) {
        text += "Object \"object" + std::to_string(i) +
                "\" {\r\nvertex 3 {\r\n0 0 0\r\n10 0 0\r\n0 10 0\r\n}\r\n"
                "face 1 {\r\n3 V(0 1 2) M(" +
                std::to_string(i) + ")\r\n}\r\n}\r\n";
    }
    return text + "Eof\r\n";
}

inline void resetLoadedModel() {
    releaseModel();
    std::fill(std::begin(loadedObjects), std::end(loadedObjects), ObjectRecord{});
    std::fill(std::begin(loadedMaterials), std::end(loadedMaterials), MaterialRecord{});
}
