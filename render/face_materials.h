// The OpenGL material a face is drawn with: the colour of its model material
// times each of the material's factors, and its texture.
#pragma once

#include <GL/gl.h>

#include <cstdint>

struct FaceMaterial {
    GLfloat ambient[4];
    GLfloat diffuse[4];
    GLfloat specular[4];
    GLfloat emission[4];
    GLfloat shininess;
    bool textured;
};

// The material of a face whose material index is `materialIndex`. A face
// without one, or naming one the model doesn't have, gets the mode's own:
// saturated white in the classic mode, a light grey that shows the lights
// in model mode.
FaceMaterial materialOfFace(int32_t materialIndex);
// Sets the material for both sides, and binds and enables its texture.
void applyMaterial(const FaceMaterial& material, int32_t materialIndex);
// One switch for the whole model: the alpha test goes around every list as
// soon as any material's texture has alpha.
bool anyMaterialHasAlpha();
