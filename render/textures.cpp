#include "render/textures.h"

#include <cstdio>
#include <string>

#include "model/loaded_model.h"
#include "render/images/image_file_types.h"
#include "render/texture_picture.h"

GLuint textureIds[256] = {};

namespace {

bool readTextureImage(MaterialRecord& material);
std::shared_ptr<ImageReader> readImageFile(const char* name, const ImageFileType& type);
void uploadTexture(const MaterialRecord& material, GLuint& textureId);

}  // namespace

void setupTextures() {
    if (documentMaterialCount() > MAX_MATERIALS) printf("This program can't load over MAX_MATERIALS materials\n");
    for (int32_t m = 0; m < loadedMaterialCount(); ++m) {
        MaterialRecord& material = loadedMaterials[m];
        if (material.tex.empty() || !readTextureImage(material)) continue;
        if (!material.aplane.empty()) loadAlphaPlane(material);
        uploadTexture(material, textureIds[m]);
    }
}

int32_t loadAlphaPlane(MaterialRecord& material) {
    if (material.aplane.empty()) return 0;
    const ImageFileType* type = findImageFileType(material.aplane.c_str());
    if (type == nullptr) {
        printf("This file type is not supported! %s\n", material.aplane.c_str());
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
        printf("This file type is not supported! %s\n", material.tex.c_str());
        return false;
    }
    material.imageKind = type->imageKind;
    material.textureImage = readImageFile(material.tex.c_str(), *type);
    material.hasTexture = material.textureImage != nullptr;
    return material.hasTexture;
}

// The image named `name` in the texture folder, or null when it can't be
// read (the reader has printed why).
std::shared_ptr<ImageReader> readImageFile(const char* name, const ImageFileType& type) {
    std::shared_ptr<ImageReader> image = type.makeReader();
    std::string path = std::string("Texture/") + name;
    if (image->load(path.c_str()) == -1) return nullptr;
    return image;
}

void uploadTexture(const MaterialRecord& material, GLuint& textureId) {
    glEnable(GL_TEXTURE_2D);
    glGenTextures(1, &textureId);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    TexturePicture picture = buildTexturePicture(*material.textureImage, material.alphaImage.get());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, picture.textureWidth, picture.textureHeight, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 picture.rgba.data());
    glDisable(GL_TEXTURE_2D);
}

}  // namespace
