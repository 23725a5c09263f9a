// One face as the viewer has always used it: at most four corners, each
// with its vertex, texture coordinates and colour, in a plain record.
#pragma once

#include <cstdint>

struct FaceRecord {
    int32_t vertexCount = 0;
    int32_t materialIndex = -1;
    float uv[4][2] = {};
    int32_t vertexIndex[4] = {};
    uint32_t color[4] = {};
};
static_assert(sizeof(FaceRecord) == 18 * 4, "a face is eighteen 32-bit words");

// Texture coordinates of one corner.
struct TexturePoint {
    float u = 0;
    float v = 0;
};
