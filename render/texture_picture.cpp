#include "render/texture_picture.h"

namespace {

void colourAt(const ImageReader& colour, int32_t x, int32_t y, uint8_t rgb[3]);
uint8_t alphaAt(const ImageReader* alpha, int32_t x, int32_t y);

}  // namespace

TexturePicture buildTexturePicture(const ImageReader& colour, const ImageReader* alpha) {
    TexturePicture picture;
    picture.textureWidth = colour.height;
    picture.textureHeight = colour.width;
    picture.rgba.reserve(static_cast<size_t>(colour.width) * colour.height * 4);
    for (int32_t column = 0; column < colour.width; ++column) {
        for (int32_t row = 0; row < colour.height; ++row) {
            uint8_t rgb[3];
            colourAt(colour, column, row, rgb);
            picture.rgba.insert(picture.rgba.end(), rgb, rgb + 3);
            picture.rgba.push_back(alpha == nullptr && colour.alphaRows != nullptr ? colour.alphaRows[row][column]
                                                                                   : alphaAt(alpha, column, row));
        }
    }
    return picture;
}

namespace {

// A grey picture named as a material's texture shows as grey, not black.
void colourAt(const ImageReader& colour, int32_t x, int32_t y, uint8_t rgb[3]) {
    if (colour.greyRows != nullptr)
        rgb[0] = rgb[1] = rgb[2] = colour.greyRows[y][x];
    else if (colour.getPixel(x, y, rgb) == 0)
        rgb[0] = rgb[1] = rgb[2] = 0;
}

// An alpha plane is meant to be a grey image of the colour image's size. A
// colour file used as one gives the brightness of its pixels; positions it
// doesn't cover stay opaque.
uint8_t alphaAt(const ImageReader* alpha, int32_t x, int32_t y) {
    if (alpha == nullptr || x >= alpha->width || y >= alpha->height) return 255;
    if (alpha->greyRows != nullptr) return alpha->greyRows[y][x];
    uint8_t rgb[3];
    if (alpha->getPixel(x, y, rgb) == 0) return 255;
    return static_cast<uint8_t>((299 * rgb[0] + 587 * rgb[1] + 114 * rgb[2] + 500) / 1000);
}

}  // namespace
