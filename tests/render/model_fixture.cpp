#include "tests/render/model_fixture.h"

#include <unistd.h>

#include <string>

#include "model/loaded_model.h"
#include "render/textures.h"

FaceRecord makeFace(std::initializer_list<Corner> corners, int32_t materialIndex) {
    FaceRecord face;
    face.materialIndex = materialIndex;
    for (const Corner& corner : corners) {
        face.vertexIndex[face.vertexCount] = corner.vertex;
        face.uv[face.vertexCount][0] = corner.u;
        face.uv[face.vertexCount][1] = corner.v;
        ++face.vertexCount;
    }
    return face;
}

ObjectRecord makeObject(std::initializer_list<VertexRecord> vertices, std::initializer_list<FaceRecord> faces) {
    ObjectRecord object;
    for (const VertexRecord& vertex : vertices) object.appendVertex(vertex);
    for (const FaceRecord& face : faces) object.appendFace(face);
    return object;
}

MaterialRecord makeMaterial(const char* texture, const char* alphaPlane) {
    MaterialRecord material;
    for (float& channel : material.col) channel = 1.0f;
    material.dif = 0.8f;
    material.amb = 0.6f;
    material.power = 5.0f;
    copyRecordText(material.tex, texture);
    copyRecordText(material.aplane, alphaPlane);
    return material;
}

void installModel(const std::vector<ObjectRecord>& objects, const std::vector<MaterialRecord>& materials) {
    ModelData data;
    data.objects = objects;
    data.objectCount = static_cast<int32_t>(objects.size());
    data.materials = materials;
    data.materialCount = static_cast<int32_t>(materials.size());
    releaseModel();
    currentDocument = new ModelDocument(data, std::string_view{});
    for (int32_t i = 0; i < MAX_OBJECTS; ++i) loadedObjects[i] = i < loadedObjectCount() ? objects[i] : ObjectRecord{};
    for (int32_t m = 0; m < MAX_MATERIALS; ++m) {
        loadedMaterials[m] = m < loadedMaterialCount() ? materials[m] : MaterialRecord{};
        textureIds[m] = 0;
    }
}

WorkingDirectory::WorkingDirectory(const std::filesystem::path& folder)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
}

WorkingDirectory::~WorkingDirectory() {
    std::filesystem::current_path(previous_);
}

namespace {

std::filesystem::path makeTextureFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-textures-XXXXXX").string();
    std::filesystem::path root = mkdtemp(pattern.data());
    std::filesystem::create_directory(root / "Texture");
    return root;
}

}  // namespace

TextureFolder::TextureFolder() : root_(makeTextureFolder()), inRoot_(root_) {}

// The folder is removed while it is still the working directory, which is
// harmless: `inRoot_` returns to the old one right after.
TextureFolder::~TextureFolder() {
    std::filesystem::remove_all(root_);
}

std::filesystem::path TextureFolder::texturePath(const char* name) const {
    return root_ / "Texture" / name;
}
