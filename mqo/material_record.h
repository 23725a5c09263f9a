// One material as the viewer uses it: colour and lighting factors, the names
// of its pictures, and the pictures once they are loaded.
#pragma once

#include <cstdint>
#include <memory>

#include "mqo/record_text.h"

// Decoded pictures live in render/images; a material only holds them.
class ImageReader;

struct MaterialRecord {
    float col[4] = {0, 0, 0, 0};
    float dif = 0;
    float amb = 0;
    float emi = 0;
    float spc = 0;
    float power = 0;
    // Model reading only: how the material is shaded (0 classic, 1
    // constant, 2 Lambert, 3 Phong, 4 Blinn), whether its faces' vertex
    // colours take the place of `col`, and the colours of its ambient,
    // emission and highlight where the file gives them apart from `col`.
    int32_t shader = 0;
    int32_t vertexColours = 0;
    bool hasAmbientColour = false;
    bool hasEmissionColour = false;
    bool hasSpecularColour = false;
    float ambientColour[3] = {0, 0, 0};
    float emissionColour[3] = {0, 0, 0};
    float specularColour[3] = {0, 0, 0};
    RecordText tex;
    RecordText aplane;
    RecordText bump;
    RecordText name;
    int32_t imageKind = 0;
    // A projection that gives the material's faces their texture
    // coordinates: 1 planar, 2 cylindrical, 3 spherical; 0 keeps their own.
    // Its frame: origin, size, and heading, pitch and bank in degrees.
    int32_t projType = 0;
    float projPos[3] = {0, 0, 0};
    float projScale[3] = {1, 1, 1};
    float projAngle[3] = {0, 0, 0};
    // Copies of a material share its images; the last holder releases them.
    std::shared_ptr<ImageReader> textureImage;
    std::shared_ptr<ImageReader> alphaImage;
    int32_t hasTexture = 0;
    int32_t hasAlpha = 0;
};
