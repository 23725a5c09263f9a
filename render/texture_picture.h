// The RGBA picture a material's texture is made from: its colour image
// transposed, with alpha from the material's alpha plane.
#pragma once

#include <cstdint>
#include <vector>

#include "render/images/image_reader.h"

struct TexturePicture {
    // The texture is `textureWidth` texels wide, one per image row, and
    // `textureHeight` high, one per image column: texel (row a, column b) is
    // image pixel (column a, row b). Display lists send each corner's
    // texture coordinates swapped to match.
    int32_t textureWidth = 0;
    int32_t textureHeight = 0;
    std::vector<uint8_t> rgba;
};

// `alpha` is null when the material has no alpha plane: every texel then
// takes the colour image's own alpha, or is opaque when it has none.
TexturePicture buildTexturePicture(const ImageReader& colour, const ImageReader* alpha);
