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
