// DDS pictures written byte by byte: each uncompressed layout and each kind
// of block comes back pixel by pixel, alpha included, top row first; what
// the reader can't show is refused with its reason, holding nothing.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "render/images/dds_reader.h"
#include "tests/render/image_bytes.h"

namespace {

using Rgba = std::array<uint8_t, 4>;
using Choices = std::array<uint8_t, 16>;  // one per pixel of a block, top row first
using BlockPixels = std::array<Rgba, 16>;

const std::string NO_CODE(4, '\0');
constexpr uint32_t RGB = 0x40, LUMINANCE = 0x20000, ALPHA = 0x1;
// 5:6:5 colours.
constexpr uint16_t RED = 0xF800, GREEN = 0x07E0, BLUE = 0x001F, WHITE = 0xFFFF, BLACK = 0x0000;
// Each row of a block shifted by one: every choice in every row and column.
constexpr Choices STAIRS = {0, 1, 2, 3, 1, 2, 3, 0, 2, 3, 0, 1, 3, 0, 1, 2};
constexpr Choices STAIRS_DOWN = {3, 2, 1, 0, 2, 1, 0, 3, 1, 0, 3, 2, 0, 3, 2, 1};
// Eight 3-bit choices in turn, twice.
constexpr Choices EACH_OF_EIGHT = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 4, 5, 6, 7};

Bytes colourBlock(uint16_t first, uint16_t second, const Choices& choices) {
    Bytes out;
    putLittleEndian(out, first, 2);
    putLittleEndian(out, second, 2);
    uint32_t packed = 0;
    for (int i = 0; i < 16; ++i) packed |= static_cast<uint32_t>(choices[i]) << 2 * i;
    putLittleEndian(out, packed, 4);
    return out;
}

// DXT3's alpha: 4 bits a pixel.
Bytes explicitAlphaBlock(const Choices& fourBits) {
    Bytes out;
    for (int i = 0; i < 16; i += 2) out.push_back(static_cast<uint8_t>(fourBits[i] | fourBits[i + 1] << 4));
    return out;
}

// DXT5's alpha: two alphas and a 3-bit choice a pixel.
Bytes interpolatedAlphaBlock(uint8_t first, uint8_t second, const Choices& choices) {
    Bytes out = {first, second};
    uint64_t packed = 0;
    for (int i = 0; i < 16; ++i) packed |= static_cast<uint64_t>(choices[i]) << 3 * i;
    for (int i = 0; i < 6; ++i) out.push_back(static_cast<uint8_t>(packed >> 8 * i));
    return out;
}

BlockPixels pick(const std::array<Rgba, 4>& colours, const Choices& choices) {
    BlockPixels pixels;
    for (int i = 0; i < 16; ++i) pixels[i] = colours[choices[i]];
    return pixels;
}

BlockPixels withAlpha(BlockPixels pixels, const std::array<uint8_t, 8>& alphas, const Choices& choices) {
    for (int i = 0; i < 16; ++i) pixels[i][3] = alphas[choices[i]];
    return pixels;
}

// The pixels of a `width` x `height` picture, top row first, from its
// blocks' pixels, left to right and top row of blocks first.
std::vector<Rgba> pictureOf(int32_t width, int32_t height, const std::vector<BlockPixels>& blocks) {
    std::vector<Rgba> pixels;
    const int32_t across = (width + 3) / 4;
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) pixels.push_back(blocks[y / 4 * across + x / 4][y % 4 * 4 + x % 4]);
    return pixels;
}

// Every pixel, top row first; opaque where there are no alpha rows.
std::vector<Rgba> rgbaOf(const ImageReader& image) {
    std::vector<Rgba> pixels;
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x) {
            uint8_t rgb[3] = {};
            if (image.greyRows != nullptr)
                rgb[0] = rgb[1] = rgb[2] = image.greyRows[y][x];
            else
                EXPECT_EQ(image.getPixel(x, y, rgb), 1);
            pixels.push_back(
                {rgb[0], rgb[1], rgb[2], image.alphaRows != nullptr ? image.alphaRows[y][x] : uint8_t{255}});
        }
    }
    return pixels;
}

int32_t loadBytes(DdsReader& reader, const Bytes& bytes) {
    return reader.loadFromMemory(bytes.data(), bytes.size());
}

// A 5 x 3 picture of each layout, its pixels taking the samples in turn:
// channels of fewer than 8 bits widen as the TGA reader widens them, an
// alpha mask counts only with the alpha flag, and luminance without alpha
// gives grey rows.
TEST(DdsReader, uncompressedPixelsComeOutByTheirBitMasks) {
    struct Sample {
        uint32_t stored;
        Rgba pixel;
    };
    struct Case {
        const char* what;
        uint32_t flags, bits;
        std::array<uint32_t, 4> masks;
        std::vector<Sample> samples;
        bool alpha, grey = false;
    } cases[] = {
        // clang-format off
        {"A8R8G8B8", RGB | ALPHA, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {{0x80FF0000, {255, 0, 0, 128}},
            {0x0000FF00, {0, 255, 0, 0}}, {0xFF0000FF, {0, 0, 255, 255}}, {0x40123456, {0x12, 0x34, 0x56, 0x40}}}, true},
        {"X8R8G8B8, an alpha mask left in", RGB, 32, {0xFF0000, 0xFF00, 0xFF, 0xFF000000},
            {{0x12345678, {0x34, 0x56, 0x78, 255}}, {0xFFFF0000, {255, 0, 0, 255}}}, false},
        {"A8B8G8R8", RGB | ALPHA, 32, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, {{0x80332211, {0x11, 0x22, 0x33, 0x80}},
            {0xFF0000FF, {255, 0, 0, 255}}}, true},
        {"R8G8B8", RGB, 24, {0xFF0000, 0xFF00, 0xFF, 0}, {{0x123456, {0x12, 0x34, 0x56, 255}},
            {0xFF0000, {255, 0, 0, 255}}, {0x0000FF, {0, 0, 255, 255}}}, false},
        {"R5G6B5", RGB, 16, {0xF800, 0x07E0, 0x001F, 0}, {{0xF800, {255, 0, 0, 255}}, {0x07E0, {0, 255, 0, 255}},
            {0x001F, {0, 0, 255, 255}}, {0x8410, {132, 130, 132, 255}}, {0x0861, {8, 12, 8, 255}}}, false},
        {"A1R5G5B5", RGB | ALPHA, 16, {0x7C00, 0x03E0, 0x001F, 0x8000}, {{0xFC00, {255, 0, 0, 255}},
            {0x03E0, {0, 255, 0, 0}}, {0x801F, {0, 0, 255, 255}}, {0x0421, {8, 8, 8, 0}}}, true},
        {"A4R4G4B4", RGB | ALPHA, 16, {0x0F00, 0x00F0, 0x000F, 0xF000}, {{0xF123, {0x11, 0x22, 0x33, 255}},
            {0x7F00, {255, 0, 0, 0x77}}, {0x00F0, {0, 255, 0, 0}}}, true},
        {"L8", LUMINANCE, 8, {0xFF, 0, 0, 0}, {{0x00, {0, 0, 0, 255}}, {0x7F, {127, 127, 127, 255}},
            {0xFF, {255, 255, 255, 255}}}, false, true},
        {"A8L8", LUMINANCE | ALPHA, 16, {0x00FF, 0, 0, 0xFF00}, {{0x80FF, {255, 255, 255, 128}},
            {0xFF10, {16, 16, 16, 255}}}, true},
        {"A4L4", LUMINANCE | ALPHA, 8, {0x0F, 0, 0, 0xF0}, {{0x3C, {0xCC, 0xCC, 0xCC, 0x33}}, {0xF0, {0, 0, 0, 255}}},
            true},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes stored;
        std::vector<Rgba> pixels;
        for (size_t i = 0; i < 15; ++i) {
            const Sample& sample = c.samples[i % c.samples.size()];
            putLittleEndian(stored, sample.stored, static_cast<int>(c.bits / 8));
            pixels.push_back(sample.pixel);
        }
        const DdsLayout layout{.width = 5,
                               .height = 3,
                               .formatFlags = c.flags,
                               .fourCc = NO_CODE,
                               .bitsPerPixel = c.bits,
                               .masks = c.masks};
        DdsReader reader;
        testing::internal::CaptureStdout();
        ASSERT_EQ(loadBytes(reader, ddsFile(layout, stored)), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(std::tuple(reader.width, reader.height), std::tuple(5, 3));
        EXPECT_EQ(std::tuple(reader.alphaRows != nullptr, reader.greyRows != nullptr), std::tuple(c.alpha, c.grey));
        EXPECT_EQ(reader.pixelFormat, c.grey ? 2 : 1);
        EXPECT_EQ(rgbaOf(reader), pixels);
    }
}

// Colours between the two stored ones are rounded down. A DXT1 block whose
// first colour is not above its second has three colours and transparent
// black; a DXT3 or DXT5 block always has four. A DXT1 picture has alpha
// rows only when a pixel inside it is cut out.
TEST(DdsReader, blocksComeOutPixelByPixelWithTheirAlpha) {
    const Rgba red{255, 0, 0, 255}, blue{0, 0, 255, 255}, green{0, 255, 0, 255}, clear{0, 0, 0, 0};
    const std::array<Rgba, 4> redToBlue = {red, blue, {170, 0, 85, 255}, {85, 0, 170, 255}};
    const std::array<Rgba, 4> blueToRed = {blue, red, {85, 0, 170, 255}, {170, 0, 85, 255}};
    const std::array<Rgba, 4> blueRedCutOut = {blue, red, {127, 0, 127, 255}, clear};
    const std::array<Rgba, 4> greenCutOut = {green, green, green, clear};
    const std::array<Rgba, 4> whiteToBlack = {
        {{255, 255, 255, 255}, {0, 0, 0, 255}, {170, 170, 170, 255}, {85, 85, 85, 255}}};
    const std::array<Rgba, 4> greenToBlack = {green, {0, 0, 0, 255}, {0, 170, 0, 255}, {0, 85, 0, 255}};
    const std::array<Rgba, 4> whiteToRed = {{{255, 255, 255, 255}, red, {255, 170, 170, 255}, {255, 85, 85, 255}}};
    // Its only cut-out pixels are outside a picture one pixel wide.
    const Choices cutOutRight = {2, 3, 3, 3, 0, 3, 3, 3, 1, 3, 3, 3, 3, 3, 3, 3};
    Choices sixteenAlphas;
    for (uint8_t i = 0; i < 16; ++i) sixteenAlphas[i] = i;
    BlockPixels dxt3 = pick(blueToRed, STAIRS);
    for (int i = 0; i < 16; ++i) dxt3[i][3] = static_cast<uint8_t>(17 * i);

    const Bytes cutOutBlocks = join({colourBlock(BLUE, RED, STAIRS), colourBlock(GREEN, GREEN, STAIRS_DOWN)});
    const std::vector<BlockPixels> cutOutPixels = {pick(blueRedCutOut, STAIRS), pick(greenCutOut, STAIRS_DOWN)};
    const Bytes dxt3Block = join({explicitAlphaBlock(sixteenAlphas), colourBlock(BLUE, RED, STAIRS)});
    const Bytes dxt5Blocks = join({interpolatedAlphaBlock(255, 0, EACH_OF_EIGHT), colourBlock(RED, BLUE, STAIRS),
                                   interpolatedAlphaBlock(0, 255, EACH_OF_EIGHT), colourBlock(BLUE, RED, STAIRS),
                                   interpolatedAlphaBlock(100, 100, EACH_OF_EIGHT), colourBlock(RED, BLUE, STAIRS)});
    const std::vector<BlockPixels> dxt5Pixels = {
        withAlpha(pick(redToBlue, STAIRS), {255, 0, 218, 182, 145, 109, 72, 36}, EACH_OF_EIGHT),
        withAlpha(pick(blueToRed, STAIRS), {0, 255, 51, 102, 153, 204, 0, 255}, EACH_OF_EIGHT),
        withAlpha(pick(redToBlue, STAIRS), {100, 100, 100, 100, 100, 100, 0, 255}, EACH_OF_EIGHT)};
    struct Case {
        const char* what;
        DdsLayout layout;
        Bytes blocks;
        std::vector<BlockPixels> pixels;
        bool alpha;
    } cases[] = {
        // clang-format off
        {"dxt1 8 x 8, four colours a block", {.width = 8, .height = 8},
            join({colourBlock(RED, BLUE, STAIRS), colourBlock(WHITE, BLACK, STAIRS), colourBlock(GREEN, BLACK, STAIRS),
                  colourBlock(WHITE, RED, STAIRS)}),
            {pick(redToBlue, STAIRS), pick(whiteToBlack, STAIRS), pick(greenToBlack, STAIRS), pick(whiteToRed, STAIRS)},
            false},
        {"dxt1 5 x 3, cut out", {.width = 5, .height = 3}, cutOutBlocks, cutOutPixels, true},
        {"dxt1 5 x 3, cut out only outside the picture", {.width = 5, .height = 3},
            join({colourBlock(RED, BLUE, STAIRS), colourBlock(BLUE, RED, cutOutRight)}),
            {pick(redToBlue, STAIRS), pick(blueRedCutOut, cutOutRight)}, false},
        {"dxt3 4 x 4", {.width = 4, .height = 4, .fourCc = "DXT3"}, dxt3Block, {dxt3}, true},
        {"dxt5 12 x 4, eight alphas, six, and six of two equal", {.width = 12, .height = 4, .fourCc = "DXT5"}, dxt5Blocks, dxt5Pixels, true},
        {"bc1 5 x 3", {.width = 5, .height = 3, .fourCc = "DX10", .extendedFormat = 72}, cutOutBlocks, cutOutPixels,
            true},
        {"bc2 4 x 4", {.width = 4, .height = 4, .fourCc = "DX10", .extendedFormat = 74}, dxt3Block, {dxt3}, true},
        {"bc3 12 x 4, sRGB", {.width = 12, .height = 4, .fourCc = "DX10", .extendedFormat = 78}, dxt5Blocks,
            dxt5Pixels, true},
        // clang-format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DdsReader reader;
        // Two smaller levels follow the top one.
        ASSERT_EQ(loadBytes(reader, ddsFile(c.layout, join({c.blocks, Bytes(24, 0x55)}))), 0);
        const int32_t width = static_cast<int32_t>(c.layout.width), height = static_cast<int32_t>(c.layout.height);
        EXPECT_EQ(std::tuple(reader.width, reader.height, reader.pixelFormat), std::tuple(width, height, 1));
        EXPECT_EQ(reader.alphaRows != nullptr, c.alpha);
        EXPECT_EQ(rgbaOf(reader), pictureOf(width, height, c.pixels));
    }
}

TEST(DdsReader, refusesWhatItCannotShowSayingWhy) {
    const DdsLayout fourByFour{.width = 4, .height = 4};
    const Bytes block = colourBlock(RED, BLUE, STAIRS);
    const DdsLayout extended{.width = 4, .height = 4, .fourCc = "DX10"};
    const DdsLayout masked{.width = 5,
                           .height = 3,
                           .formatFlags = RGB | ALPHA,
                           .fourCc = NO_CODE,
                           .bitsPerPixel = 32,
                           .masks = {0xFF0000, 0xFF00, 0xFF, 0xFF000000}};
    Bytes notDds = ddsFile(fourByFour, block);
    notDds[3] = 'X';
    auto with = [](DdsLayout layout, auto change) {
        change(layout);
        return layout;
    };
    const std::tuple<const char*, Bytes, const char*> cases[] = {
        // clang-format off
        {"not a DDS file", notDds, "does not start with \"DDS \""},
        {"shorter than its header", withoutLast(ddsFile(fourByFour, {}), 1), "is shorter than its header"},
        {"lying header size", ddsFile(with(fourByFour, [](DdsLayout& l) { l.headerSize = 100; }), block),
            "has a header size of 100, not 124"},
        {"lying pixel format size", ddsFile(with(fourByFour, [](DdsLayout& l) { l.formatSize = 24; }), block),
            "has a pixel format size of 24, not 32"},
        {"cube map", ddsFile(with(fourByFour, [](DdsLayout& l) { l.caps2 = 0xFE00; }), Bytes(48, 0)),
            "is a cube map: cube maps are not supported"},
        {"volume texture", ddsFile(with(fourByFour, [](DdsLayout& l) { l.caps2 = 0x200000; }), Bytes(32, 0)),
            "is a volume texture: volume textures are not supported"},
        {"extended cube map", ddsFile(with(extended, [](DdsLayout& l) { l.miscFlags = 0x4; }), Bytes(48, 0)),
            "is a cube map: cube maps are not supported"},
        {"extended volume", ddsFile(with(extended, [](DdsLayout& l) { l.dimension = 4; }), Bytes(32, 0)),
            "is a volume texture: volume textures are not supported"},
        {"extended buffer", ddsFile(with(extended, [](DdsLayout& l) { l.dimension = 1; }), block),
            "has resource dimension 1, not a texture's"},
        {"texture array", ddsFile(with(extended, [](DdsLayout& l) { l.arraySize = 6; }), Bytes(48, 0)),
            "is an array of 6 textures: texture arrays are not supported"},
        {"BC7", ddsFile(with(extended, [](DdsLayout& l) { l.extendedFormat = 98; }), Bytes(16, 0)),
            "has extended pixel format 98, which is not supported (only BC1, BC2 and BC3 are)"},
        {"premultiplied BC3", ddsFile(with(extended, [](DdsLayout& l) { l.extendedFormat = 77; l.alphaMode = 2; }),
            Bytes(16, 0)), "has premultiplied alpha, which is not supported"},
        {"cut inside its extended header", withoutLast(ddsFile(extended, {}), 1), "is shorter than its extended header"},
        {"ATI2", ddsFile(with(fourByFour, [](DdsLayout& l) { l.fourCc = "ATI2"; }), Bytes(16, 0)),
            "has pixel format \"ATI2\", which is not supported"},
        {"premultiplied DXT2", ddsFile(with(fourByFour, [](DdsLayout& l) { l.fourCc = "DXT2"; }), Bytes(16, 0)),
            "has pixel format \"DXT2\", which is not supported"},
        {"numbered format", ddsFile(with(fourByFour, [](DdsLayout& l) { l.fourCc = std::string("\x71\0\0\0", 4); }),
            Bytes(128, 0)), "has pixel format code 113, which is not supported"},
        {"alpha alone", ddsFile(with(masked, [](DdsLayout& l) { l.formatFlags = 0x2; }), Bytes(60, 0)),
            "has pixel format flags 0x2, which are not supported"},
        {"12 bits a pixel", ddsFile(with(masked, [](DdsLayout& l) { l.bitsPerPixel = 12; }), Bytes(60, 0)),
            "has 12 bits a pixel, which is not supported"},
        {"mask in two runs", ddsFile(with(masked, [](DdsLayout& l) { l.masks[1] = 0xF00F00; }), Bytes(60, 0)),
            "has bit masks that don't describe its 32-bit pixels"},
        {"mask past its pixels", ddsFile(with(masked, [](DdsLayout& l) { l.bitsPerPixel = 16; }), Bytes(30, 0)),
            "has bit masks that don't describe its 16-bit pixels"},
        {"no colour masks", ddsFile(with(masked, [](DdsLayout& l) { l.masks = {0, 0, 0, 0xFF000000}; }), Bytes(60, 0)),
            "has bit masks that don't describe its 32-bit pixels"},
        {"no width", ddsFile(with(fourByFour, [](DdsLayout& l) { l.width = 0; }), block),
            "has sides of 0 x 4: each must be 1 to 16384"},
        {"16385 wide", ddsFile(with(fourByFour, [](DdsLayout& l) { l.width = 16385; }), Bytes(32776, 0)),
            "has sides of 16385 x 4: each must be 1 to 16384"},
        {"16384 x 16384 without its pixels", ddsFile({.width = 16384, .height = 16384}, block),
            "ends inside its top level: it holds 8 of the 134217728 bytes of pixels its header calls for"},
        {"dxt5 a byte short", withoutLast(ddsFile({.width = 8, .height = 4, .fourCc = "DXT5"}, Bytes(32, 0)), 1),
            "ends inside its top level: it holds 31 of the 32 bytes"},
        {"A8R8G8B8 a row short", ddsFile(masked, Bytes(40, 0)), "ends inside its top level: it holds 40 of the 60 bytes"},
        // clang-format on
    };
    for (const auto& [what, file, why] : cases) {
        SCOPED_TRACE(what);
        DdsReader reader;
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadBytes(reader, file), -1);
        const std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_TRUE(printed.starts_with(std::string("The DDS file ") + why)) << printed;
        EXPECT_TRUE(printed.ends_with("\nCan't read dds file\n")) << printed;
        EXPECT_TRUE(reader.pixelFormat == 0 && reader.width == 0 && reader.rgbRows == nullptr &&
                    reader.greyRows == nullptr && reader.alphaRows == nullptr);
    }
}

}  // namespace
