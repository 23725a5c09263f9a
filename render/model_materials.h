// The materials of model mode, as the modeller shades them: the scene's
// lights scaled by the material's factors, its shader's kind of highlight,
// its texture in place of its colour, its faces' vertex colours, and whether
// it is seen through.
#pragma once

#include <cstdint>

#include "render/face_materials.h"

struct ModelMaterial {
    FaceMaterial look;
    // Drawn in its colour alone, whatever the light (the constant shader).
    bool constant = false;
    // The faces' corner colours take the place of the material's colour.
    bool vertexColours = false;
    // Blended over the opaque faces, farthest first.
    bool seeThrough = false;
    // What a corner colour is scaled by, as the diffuse colour is.
    float diffuseFactor = 0;
};

// The material of faces whose material index is `materialIndex`; a face
// without one, or naming one the model doesn't have, is light grey.
ModelMaterial modelMaterialOf(int32_t materialIndex);
// Sets the material and its texture for the faces that follow; a
// vertex-colour material then takes its colour from each corner's glColor.
void applyModelMaterial(const ModelMaterial& material, int32_t materialIndex);
// Undoes what applyModelMaterial turned on.
void finishModelMaterial(const ModelMaterial& material);
// The colour a corner of a vertex-colour material is given: `colour` holds
// red in its lowest byte, then green, blue and alpha.
void cornerColour(const ModelMaterial& material, uint32_t colour, float out[4]);
// Whether a corner colour is not wholly opaque.
inline bool cornerSeeThrough(uint32_t colour) {
    return (colour >> 24) != 255;
}
