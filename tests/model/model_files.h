// Files written by the tests into a scratch folder, and models installed as
// the loaded one, as a successful read would leave the tables.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "model/loaded_model.h"
#include "tests/mqo/model_text.h"

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
    std::string write(std::string_view name, const std::vector<uint8_t>& bytes) const {
        return write(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

private:
    std::filesystem::path path_;
};

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A face on these vertices, with (u, v) for each corner when given.
inline FaceRecord makeFace(std::initializer_list<int32_t> corners, int32_t materialIndex = -1,
                           std::initializer_list<std::array<float, 2>> uvs = {}) {
    FaceRecord face;
    face.materialIndex = materialIndex;
    for (int32_t vertex : corners) face.vertexIndex[face.vertexCount++] = vertex;
    for (size_t k = 0; k < uvs.size(); ++k) std::ranges::copy(uvs.begin()[k], face.uv[k]);
    return face;
}

inline ObjectRecord makeObject(const std::vector<VertexRecord>& vertices, const std::vector<FaceRecord>& faces) {
    ObjectRecord object;
    for (const VertexRecord& vertex : vertices) object.appendVertex(vertex);
    for (const FaceRecord& face : faces) object.appendFace(face);
    return object;
}

// White, lit the way the bundled model's plain materials are.
inline MaterialRecord makeMaterial(const char* texture = "", const char* alphaPlane = "") {
    MaterialRecord material;
    std::ranges::fill(material.col, 1.0f);
    material.dif = 0.8f;
    material.amb = 0.6f;
    material.power = 5.0f;
    material.tex = texture;
    material.aplane = alphaPlane;
    return material;
}

inline void resetLoadedModel() {
    releaseModel();
    std::ranges::fill(loadedObjects, ObjectRecord{});
    std::ranges::fill(loadedMaterials, MaterialRecord{});
}

// Makes a document of these objects and materials the current one and fills
// the tables from it.
inline void installModel(const std::vector<ObjectRecord>& objects, const std::vector<MaterialRecord>& materials = {}) {
    resetLoadedModel();
    ModelData data;
    data.objects.assign(objects.begin(), objects.end());
    data.objectCount = static_cast<int32_t>(objects.size());
    for (const MaterialRecord& material : materials) data.appendMaterial(material);
    currentDocument = new ModelDocument(data, std::string_view{});
    std::copy_n(objects.begin(), loadedObjectCount(), loadedObjects);
    std::copy_n(materials.begin(), loadedMaterialCount(), loadedMaterials);
}
