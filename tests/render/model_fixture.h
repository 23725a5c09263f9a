// Models built in memory for the GL tests, installed as the loaded model, and
// the working folders those tests read textures from.
#pragma once

#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "model/loaded_model.h"
#include "render/textures.h"

// A face on these vertices, with (u, v) for each corner when given.
inline FaceRecord makeFace(std::initializer_list<int32_t> corners, int32_t materialIndex,
                           std::initializer_list<std::array<float, 2>> uvs = {}) {
    FaceRecord face;
    face.materialIndex = materialIndex;
    for (int32_t vertex : corners) face.vertexIndex[face.vertexCount++] = vertex;
    for (size_t k = 0; k < uvs.size(); ++k) std::ranges::copy(uvs.begin()[k], face.uv[k]);
    return face;
}

inline ObjectRecord makeObject(std::initializer_list<VertexRecord> vertices, std::initializer_list<FaceRecord> faces) {
    ObjectRecord object;
    for (const VertexRecord& vertex : vertices) object.appendVertex(vertex);
    for (const FaceRecord& face : faces) object.appendFace(face);
    return object;
}

inline MaterialRecord makeMaterial(const char* texture = "", const char* alphaPlane = "") {
    MaterialRecord material;
    for (float& channel : material.col) channel = 1.0f;
    material.dif = 0.8f;
    material.amb = 0.6f;
    material.power = 5.0f;
    material.tex = texture;
    material.aplane = alphaPlane;
    return material;
}

// Makes a document of these objects and materials the current one and fills
// the loaded tables from it; clears texture names left by earlier tests.
inline void installModel(const std::vector<ObjectRecord>& objects, const std::vector<MaterialRecord>& materials) {
    ModelData data;
    data.objects.assign(objects.begin(), objects.end());
    data.objectCount = static_cast<int32_t>(objects.size());
    for (const MaterialRecord& material : materials) data.appendMaterial(material);
    releaseModel();
    currentDocument = new ModelDocument(data, std::string_view{});
    for (int32_t i = 0; i < MAX_OBJECTS; ++i) loadedObjects[i] = i < loadedObjectCount() ? objects[i] : ObjectRecord{};
    for (int32_t m = 0; m < MAX_MATERIALS; ++m) {
        loadedMaterials[m] = m < loadedMaterialCount() ? materials[m] : MaterialRecord{};
        textureIds[m] = 0;
    }
}

// Runs the test in `folder`; the old working directory comes back at the end.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::filesystem::path& folder) : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingDirectory() { std::filesystem::current_path(previous_); }

private:
    std::filesystem::path previous_;
};

// A working directory of its own with an empty "Texture" folder. It is
// removed while it is still the working directory, which is harmless:
// `inRoot_` returns to the old one right after.
class TextureFolder {
public:
    TextureFolder() : root_(makeRoot()), inRoot_(root_) {}
    ~TextureFolder() { std::filesystem::remove_all(root_); }

private:
    static std::filesystem::path makeRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "varnel-textures-XXXXXX").string();
        std::filesystem::path root = mkdtemp(pattern.data());
        std::filesystem::create_directory(root / "Texture");
        return root;
    }

    std::filesystem::path root_;
    WorkingDirectory inRoot_;
};
