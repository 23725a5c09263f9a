#include "render/textures.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "model/console_text.h"
#include "model/loaded_model.h"
#include "model/model_archive.h"
#include "model/texture_files.h"
#include "model/user_messages.h"
#include "render/images/image_file_types.h"
#include "render/images/image_messages.h"
#include "render/texture_picture.h"

GLuint textureIds[MAX_MATERIALS] = {};
bool textureSeeThrough[MAX_MATERIALS] = {};

namespace {

// Every picture file the model's textures were read from, once each.
std::vector<std::filesystem::path> filesRead;

bool readTextureImage(MaterialRecord& material);
std::shared_ptr<ImageReader> readImageFile(const char* name, const ImageFileType& type);
bool climbsOutOfItsFolder(const char* name);
bool readModelTexture(MaterialRecord& material);
std::shared_ptr<ImageReader> readModelPicture(const MaterialRecord& material, const RecordText& name, const char* what);
std::shared_ptr<ImageReader> readArchivedPicture(const MaterialRecord& material, const RecordText& name,
                                                 const char* what, const ArchiveEntry& entry);
void reportUnusable(const MaterialRecord& material, const char* what, const RecordText& name,
                    const std::string& reason);
std::string listOf(const std::vector<std::filesystem::path>& folders);
void uploadTexture(MaterialRecord& material, GLuint& textureId, bool& seeThrough);
void uploadColour(const float colour[4], GLuint textureId);
bool anyTexelSeeThrough(const TexturePicture& picture);

}  // namespace

void setupTextures() {
    if (documentMaterialCount() > MAX_MATERIALS && inModelMode())
        tellUser("the model has " + std::to_string(documentMaterialCount()) +
                 " materials; the faces of the rest are drawn grey");
    else if (documentMaterialCount() > MAX_MATERIALS)
        printf("This program can't load over MAX_MATERIALS materials\n");
    for (int32_t m = 0; m < loadedMaterialCount(); ++m) {
        MaterialRecord& material = loadedMaterials[m];
        if (material.tex.empty()) continue;
        if (inModelMode()) {
            if (!readModelTexture(material)) continue;
        } else {
            if (!readTextureImage(material)) continue;
            if (!material.aplane.empty()) loadAlphaPlane(material);
        }
        uploadTexture(material, textureIds[m], textureSeeThrough[m]);
    }
}

const std::vector<std::filesystem::path>& textureFiles() {
    return filesRead;
}

// The pictures were released once uploaded: they are read again, from
// wherever the model keeps them now.
void showTextures(bool shown) {
    for (int32_t m = 0; m < loadedMaterialCount(); ++m) {
        if (textureIds[m] == 0) continue;
        MaterialRecord& material = loadedMaterials[m];
        if (!shown)
            uploadColour(material.col, textureIds[m]);
        else if (readModelTexture(material))
            uploadTexture(material, textureIds[m], textureSeeThrough[m]);
    }
}

void releaseTextures() {
    for (GLuint& id : textureIds) {
        if (id != 0) glDeleteTextures(1, &id);
        id = 0;
    }
    for (bool& seeThrough : textureSeeThrough) seeThrough = false;
    filesRead.clear();
}

int32_t loadAlphaPlane(MaterialRecord& material) {
    if (material.aplane.empty()) return 0;
    const ImageFileType* type = findImageFileType(material.aplane.c_str());
    if (type == nullptr) {
        printf("This file type is not supported! %s\n", printableName(material.aplane.view()).c_str());
        return 0;
    }
    material.alphaImage = readImageFile(material.aplane.c_str(), *type);
    material.hasAlpha = material.alphaImage != nullptr;
    return material.hasAlpha;
}

namespace {

bool readTextureImage(MaterialRecord& material) {
    const ImageFileType* type = findImageFileType(material.tex.c_str());
    if (type == nullptr) {
        printf("This file type is not supported! %s\n", printableName(material.tex.view()).c_str());
        return false;
    }
    material.imageKind = type->imageKind;
    material.textureImage = readImageFile(material.tex.c_str(), *type);
    material.hasTexture = material.textureImage != nullptr;
    return material.hasTexture;
}

// The image named `name` in the texture folder, or null when it can't be
// read (the reader has printed why). A name that climbs out of the folder
// reads as a missing file.
std::shared_ptr<ImageReader> readImageFile(const char* name, const ImageFileType& type) {
    std::shared_ptr<ImageReader> image = type.makeReader();
    if (climbsOutOfItsFolder(name)) {
        image->reportMissingFile();
        return nullptr;
    }
    std::string path = std::string("Texture/") + name;
    if (image->load(path.c_str()) == -1) return nullptr;
    return image;
}

bool climbsOutOfItsFolder(const char* name) {
    const std::string_view text(name);
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find_first_of("/\\", start), text.size());
        if (text.substr(start, end - start) == "..") return true;
        start = end + 1;
    }
    return false;
}

// Model mode: the texture wherever the model keeps it, in any picture type
// the readers know; the alpha plane likewise. A texture that can't be used
// leaves the material in its colour, with one line saying why.
bool readModelTexture(MaterialRecord& material) {
    material.textureImage = readModelPicture(material, material.tex, "texture");
    material.hasTexture = material.textureImage != nullptr;
    if (!material.hasTexture) return false;
    if (!material.aplane.empty()) material.alphaImage = readModelPicture(material, material.aplane, "alpha plane");
    // A picture's own alpha cuts its texture as an alpha plane would.
    material.hasAlpha = material.alphaImage != nullptr || material.textureImage->alphaRows != nullptr;
    return true;
}

std::shared_ptr<ImageReader> readModelPicture(const MaterialRecord& material, const RecordText& name,
                                              const char* what) {
    const TextureFileSearch search =
        findTextureFile(modelSettings.folder, name.view(), modelSettings.codeset, modelSettings.archive.get());
    if (search.entry != nullptr) return readArchivedPicture(material, name, what, *search.entry);
    if (search.found.empty()) {
        reportUnusable(material, what, name, "not found (looked in " + listOf(search.folders) + ")");
        return nullptr;
    }
    const std::string path = search.found.string();
    if (std::find(filesRead.begin(), filesRead.end(), search.found) == filesRead.end())
        filesRead.push_back(search.found);
    const ImageFileType* type = findModelImageFileType(path.c_str());
    if (type == nullptr) {
        reportUnusable(material, what, name, "unsupported picture type (" + path + ")");
        return nullptr;
    }
    std::shared_ptr<ImageReader> image = type->makeReader();
    ImageMessageCollector messages;
    if (image->load(path.c_str()) == -1) {
        reportUnusable(material, what, name, "broken file " + path + " (" + messages.oneLine() + ")");
        return nullptr;
    }
    return image;
}

// A picture in the model's archive is inflated into memory, never to disk,
// and told by its bytes as a file would be.
std::shared_ptr<ImageReader> readArchivedPicture(const MaterialRecord& material, const RecordText& name,
                                                 const char* what, const ArchiveEntry& entry) {
    const std::string where = entry.shownName + " in " + modelSettings.archive->name();
    std::vector<uint8_t> bytes;
    std::string problem;
    if (!modelSettings.archive->read(entry, MAX_IMAGE_FILE_BYTES, bytes, problem)) {
        reportUnusable(material, what, name, problem);
        return nullptr;
    }
    const std::string_view head(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    const ImageFileType* type = findModelImageFileType(head, entry.name.c_str());
    if (type == nullptr) {
        reportUnusable(material, what, name, "unsupported picture type (" + where + ")");
        return nullptr;
    }
    std::shared_ptr<ImageReader> image = type->makeReader();
    ImageMessageCollector messages;
    if (image->loadFromMemory(bytes.data(), bytes.size()) == -1) {
        reportUnusable(material, what, name, "broken file " + where + " (" + messages.oneLine() + ")");
        return nullptr;
    }
    return image;
}

void reportUnusable(const MaterialRecord& material, const char* what, const RecordText& name,
                    const std::string& reason) {
    const char* codeset = modelSettings.codeset;
    tellUser("material \"" + convertText(material.name.view(), codeset, "UTF-8") + "\": " + what + " \"" +
             convertText(name.view(), codeset, "UTF-8") + "\": " + reason);
}

std::string listOf(const std::vector<std::filesystem::path>& folders) {
    std::string list;
    for (const std::filesystem::path& folder : folders) list += (list.empty() ? "" : ", ") + folder.string();
    return list;
}

// The pictures' rows are read once, here, and then released: the texture
// holds the picture from now on.
void uploadTexture(MaterialRecord& material, GLuint& textureId, bool& seeThrough) {
    glEnable(GL_TEXTURE_2D);
    if (textureId == 0) glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Modellers tile textures with coordinates past 1; the classic mode
    // clamps them as it always did.
    const GLint wrap = inModelMode() ? GL_REPEAT : GL_CLAMP;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    {
        const TexturePicture picture = buildTexturePicture(*material.textureImage, material.alphaImage.get());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture.textureWidth, picture.textureHeight, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, picture.rgba.data());
        seeThrough = inModelMode() && material.hasAlpha && anyTexelSeeThrough(picture);
    }
    material.textureImage->releaseRows();
    if (material.alphaImage != nullptr) material.alphaImage->releaseRows();
    glDisable(GL_TEXTURE_2D);
}

// One texel of the material's colour: lit and modulated, it shows the
// material as if it had no texture.
void uploadColour(const float colour[4], GLuint textureId) {
    GLubyte texel[4] = {255, 255, 255, 255};
    for (int c = 0; c < 3; ++c) texel[c] = static_cast<GLubyte>(std::clamp(colour[c], 0.0f, 1.0f) * 255.0f + 0.5f);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
}

// Many pictures carry an alpha channel that is opaque everywhere: their
// materials draw with the opaque faces.
bool anyTexelSeeThrough(const TexturePicture& picture) {
    for (size_t i = 3; i < picture.rgba.size(); i += 4)
        if (picture.rgba[i] != 255) return true;
    return false;
}

}  // namespace
