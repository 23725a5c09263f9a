// One OpenGL texture per loaded material that names a texture image, read
// from the folder "Texture" under the working directory.
#pragma once

#include <GL/gl.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "model/loaded_model.h"
#include "mqo/records.h"

// Texture name of each material by material index; 0 where it has none.
extern GLuint textureIds[MAX_MATERIALS];
// Model mode: whether a material's texture has texels that are not wholly
// opaque, by material index.
extern bool textureSeeThrough[MAX_MATERIALS];

// Reads every loaded material's texture (and alpha plane) and uploads it.
// Needs a current OpenGL context; leaves texturing disabled.
void setupTextures();

// Model mode: the files on disk that the textures were read from, for the
// viewer to watch; pictures in an archive are not among them.
const std::vector<std::filesystem::path>& textureFiles();
// Model mode: with the textures off, each textured material shows in its
// own colour; back on, the pictures are read again.
void showTextures(bool shown);
// Model mode: deletes every texture, for another model's to take their
// place.
void releaseTextures();

// Reads `material`'s alpha plane into its `alphaImage`; 1 when it was read.
int32_t loadAlphaPlane(MaterialRecord& material);
