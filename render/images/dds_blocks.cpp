#include "render/images/dds_blocks.h"

#include <cstring>

#include "render/images/byte_source.h"

namespace {

constexpr size_t COLOUR_BLOCK_BYTES = 8;
constexpr size_t ALPHA_BLOCK_BYTES = 8;
constexpr int PIXELS_PER_BLOCK = BLOCK_SIDE * BLOCK_SIDE;

bool hasThreeColours(const uint8_t* colourBlock);
void decodeColours(const uint8_t* colourBlock, bool mayCutOut, uint8_t rgba[16][4]);
void colourOf565(uint16_t packed, uint8_t rgba[4]);
void decodeExplicitAlpha(const uint8_t* alphaBlock, uint8_t rgba[16][4]);
void decodeInterpolatedAlpha(const uint8_t* alphaBlock, uint8_t rgba[16][4]);

}  // namespace

size_t bytesPerBlock(BlockFormat format) {
    return format == BlockFormat::Dxt1 ? COLOUR_BLOCK_BYTES : ALPHA_BLOCK_BYTES + COLOUR_BLOCK_BYTES;
}

// NOTE: only a DXT1 block may choose three colours and transparent black; in
// DXT3 and DXT5 the colours are always four, whichever of the two is larger.
void decodeBlock(BlockFormat format, const uint8_t* block, uint8_t rgba[16][4]) {
    if (format == BlockFormat::Dxt1) return decodeColours(block, true, rgba);
    decodeColours(block + ALPHA_BLOCK_BYTES, false, rgba);
    if (format == BlockFormat::Dxt3)
        decodeExplicitAlpha(block, rgba);
    else
        decodeInterpolatedAlpha(block, rgba);
}

bool dxt1BlockCutsOut(const uint8_t* block, int32_t columns, int32_t rows) {
    if (!hasThreeColours(block)) return false;
    ByteSource choices(block + 4, 4);
    uint32_t choice = choices.get32le();
    for (int32_t y = 0; y < rows; ++y)
        for (int32_t x = 0; x < columns; ++x)
            if ((choice >> 2 * (BLOCK_SIDE * y + x) & 3) == 3) return true;
    return false;
}

namespace {

// A block whose first colour is not above its second has three colours
// and transparent black.
bool hasThreeColours(const uint8_t* colourBlock) {
    ByteSource colours(colourBlock, 4);
    uint16_t first = colours.get16le();
    return first <= colours.get16le();
}

// The colours between the two stored ones lie a third or a half of the way
// from one to the other, rounded down.
void decodeColours(const uint8_t* colourBlock, bool mayCutOut, uint8_t rgba[16][4]) {
    ByteSource stored(colourBlock, COLOUR_BLOCK_BYTES);
    uint8_t colours[4][4];
    colourOf565(stored.get16le(), colours[0]);
    colourOf565(stored.get16le(), colours[1]);
    bool three = mayCutOut && hasThreeColours(colourBlock);
    for (int c = 0; c < 3; ++c) {
        int first = colours[0][c], second = colours[1][c];
        colours[2][c] = static_cast<uint8_t>(three ? (first + second) / 2 : (2 * first + second) / 3);
        colours[3][c] = static_cast<uint8_t>(three ? 0 : (first + 2 * second) / 3);
    }
    colours[2][3] = 255;
    colours[3][3] = three ? 0 : 255;
    uint32_t choices = stored.get32le();
    for (int pixel = 0; pixel < PIXELS_PER_BLOCK; ++pixel) memcpy(rgba[pixel], colours[choices >> 2 * pixel & 3], 4);
}

// Five bits of red, six of green and five of blue, each widened to eight by
// repeating its top bits below it.
void colourOf565(uint16_t packed, uint8_t rgba[4]) {
    unsigned red = packed >> 11, green = packed >> 5 & 0x3F, blue = packed & 0x1F;
    rgba[0] = static_cast<uint8_t>(red << 3 | red >> 2);
    rgba[1] = static_cast<uint8_t>(green << 2 | green >> 4);
    rgba[2] = static_cast<uint8_t>(blue << 3 | blue >> 2);
    rgba[3] = 255;
}

// Four bits a pixel, the low half of each byte first.
void decodeExplicitAlpha(const uint8_t* alphaBlock, uint8_t rgba[16][4]) {
    for (int pixel = 0; pixel < PIXELS_PER_BLOCK; ++pixel)
        rgba[pixel][3] = static_cast<uint8_t>((alphaBlock[pixel / 2] >> 4 * (pixel % 2) & 0xF) * 17);
}

// Two alphas and 3-bit choices among eight: when the first is the larger,
// the six between them; else the four between them, then 0 and 255.
void decodeInterpolatedAlpha(const uint8_t* alphaBlock, uint8_t rgba[16][4]) {
    uint8_t alphas[8] = {alphaBlock[0], alphaBlock[1], 0, 0, 0, 0, 0, 255};
    int steps = alphas[0] > alphas[1] ? 7 : 5;
    for (int i = 1; i < steps; ++i)
        alphas[1 + i] = static_cast<uint8_t>(((steps - i) * alphas[0] + i * alphas[1]) / steps);
    ByteSource stored(alphaBlock + 2, 6);
    uint64_t choices = stored.get32le() | static_cast<uint64_t>(stored.get16le()) << 32;
    for (int pixel = 0; pixel < PIXELS_PER_BLOCK; ++pixel) rgba[pixel][3] = alphas[choices >> 3 * pixel & 7];
}

}  // namespace
