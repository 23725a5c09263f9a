#include "render/face_materials.h"

#include "model/loaded_model.h"
#include "render/textures.h"

namespace {

void scale(const float colour[4], float factor, GLfloat out[4]);
FaceMaterial classicWhite();
FaceMaterial neutralGrey();

}  // namespace

FaceMaterial materialOfFace(int32_t materialIndex) {
    if (materialIndex < 0 || materialIndex >= loadedMaterialCount())
        return inModelMode() ? neutralGrey() : classicWhite();
    FaceMaterial result{};
    const MaterialRecord& material = loadedMaterials[materialIndex];
    scale(material.col, material.amb, result.ambient);
    scale(material.col, material.dif, result.diffuse);
    scale(material.col, material.spc, result.specular);
    scale(material.col, material.emi, result.emission);
    result.shininess = material.power;
    result.textured = material.hasTexture != 0;
    return result;
}

void applyMaterial(const FaceMaterial& material, int32_t materialIndex) {
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, material.ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, material.diffuse);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, material.specular);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, material.emission);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, material.shininess);
    if (material.textured) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textureIds[materialIndex]);
    }
}

bool anyMaterialHasAlpha() {
    for (int32_t m = 0; m < loadedMaterialCount(); ++m)
        if (loadedMaterials[m].hasAlpha) return true;
    return false;
}

namespace {

void scale(const float colour[4], float factor, GLfloat out[4]) {
    for (int c = 0; c < 4; ++c) out[c] = colour[c] * factor;
}

// NOTE: the colour is 255.0, not 1.0: lighting clamps the lit colour, so
// such faces show as bright as the lights allow, a flat white.
FaceMaterial classicWhite() {
    FaceMaterial result{};
    const float white[4] = {255.0f, 255.0f, 255.0f, 255.0f};
    scale(white, 0.2f, result.ambient);
    scale(white, 0.3f, result.diffuse);
    scale(white, 0.25f, result.specular);
    result.shininess = 5.0f;
    return result;
}

// The modeller's own default material: light grey, lit like any other.
FaceMaterial neutralGrey() {
    FaceMaterial result{};
    const float grey[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    scale(grey, 0.6f, result.ambient);
    scale(grey, 0.8f, result.diffuse);
    result.shininess = 5.0f;
    return result;
}

}  // namespace
