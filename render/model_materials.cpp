#include "render/model_materials.h"

#include <algorithm>

#include "model/loaded_model.h"
#include "render/textures.h"

namespace {

// The modeller's shaders: its constant one ignores the light, its Lambert
// one has no highlight; the classic, Phong and Blinn ones have one.
constexpr int32_t CONSTANT_SHADER = 1;
constexpr int32_t LAMBERT_SHADER = 2;
constexpr float MAX_SHININESS = 128.0f;

void setScaled(const float colour[3], float factor, float alpha, GLfloat out[4]);

}  // namespace

// NOTE: a textured material's texture takes the place of its colour's red,
// green and blue, so a texture on a black `col` still shows; the colour's
// alpha applies to both.
ModelMaterial modelMaterialOf(int32_t materialIndex) {
    ModelMaterial result;
    if (materialIndex < 0 || materialIndex >= loadedMaterialCount()) {
        result.look = materialOfFace(-1);
        return result;
    }
    const MaterialRecord& material = loadedMaterials[materialIndex];
    const bool textured = material.hasTexture != 0;
    const float white[3] = {1.0f, 1.0f, 1.0f};
    const float* base = textured ? white : material.col;
    const float alpha = std::clamp(material.col[3], 0.0f, 1.0f);
    FaceMaterial& look = result.look;
    look.textured = textured;
    result.constant = material.shader == CONSTANT_SHADER;
    result.vertexColours = material.vertexColours != 0;
    result.seeThrough = alpha < 1.0f || (textured && textureSeeThrough[materialIndex]);
    result.diffuseFactor = material.dif;
    if (result.constant) {
        setScaled(base, 0.0f, alpha, look.ambient);
        setScaled(base, 0.0f, alpha, look.diffuse);
        setScaled(base, 0.0f, 1.0f, look.specular);
        setScaled(base, 1.0f, 1.0f, look.emission);
        return result;
    }
    setScaled(material.hasAmbientColour ? material.ambientColour : base, material.amb, alpha, look.ambient);
    setScaled(base, material.dif, alpha, look.diffuse);
    setScaled(material.hasEmissionColour ? material.emissionColour : base, material.emi, 1.0f, look.emission);
    const float highlight = material.shader == LAMBERT_SHADER ? 0.0f : material.spc;
    setScaled(material.hasSpecularColour ? material.specularColour : white, highlight, 1.0f, look.specular);
    look.shininess = std::clamp(material.power, 0.0f, MAX_SHININESS);
    return result;
}

void applyModelMaterial(const ModelMaterial& material, int32_t materialIndex) {
    applyMaterial(material.look, materialIndex);
    if (!material.vertexColours) return;
    glColorMaterial(GL_FRONT_AND_BACK, material.constant ? GL_EMISSION : GL_AMBIENT_AND_DIFFUSE);
    glEnable(GL_COLOR_MATERIAL);
}

void finishModelMaterial(const ModelMaterial& material) {
    if (material.look.textured) glDisable(GL_TEXTURE_2D);
    if (material.vertexColours) glDisable(GL_COLOR_MATERIAL);
}

// NOTE: OpenGL colours both the ambient and the diffuse from one corner
// colour, so the ambient follows the diffuse factor there.
void cornerColour(const ModelMaterial& material, uint32_t colour, float out[4]) {
    const float factor = material.constant ? 1.0f : material.diffuseFactor;
    for (int c = 0; c < 3; ++c) out[c] = static_cast<float>((colour >> (8 * c)) & 0xFF) / 255.0f * factor;
    out[3] = static_cast<float>(colour >> 24) / 255.0f;
}

namespace {

void setScaled(const float colour[3], float factor, float alpha, GLfloat out[4]) {
    for (int c = 0; c < 3; ++c) out[c] = colour[c] * factor;
    out[3] = alpha;
}

}  // namespace
