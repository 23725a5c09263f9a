// The readers give red, green, blue rows (or grey rows) with row 0 at the
// top, whatever order the file stores them in, and refuse what they can't
// decode with their own message.
#include <gtest/gtest.h>

#include <jpeglib.h>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "render/images/bmp_reader.h"
#include "render/images/jpeg_reader.h"
#include "render/images/tga_reader.h"
#include "tests/render/image_bytes.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255};

enum Kind { TGA, BMP, JPEG };

std::unique_ptr<ImageReader> makeReader(Kind kind) {
    if (kind == TGA) return std::make_unique<TgaReader>();
    if (kind == BMP) return std::make_unique<BmpReader>();
    return std::make_unique<JpegReader>();
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes withoutLast(Bytes bytes, size_t count) {
    bytes.erase(bytes.end() - static_cast<std::ptrdiff_t>(count), bytes.end());
    return bytes;
}

// A baseline JPEG of `samples`, rows top first: red, green, blue per pixel,
// or one byte per pixel when `grey`.
Bytes jpegFile(int32_t width, int32_t height, bool grey, const Bytes& samples) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + info.next_scanline * width * info.input_components;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

// Colours survive a quality 100 round trip within a few steps.
bool near(const Rgb& actual, const Rgb& expected) {
    return std::abs(actual.r - expected.r) <= 4 && std::abs(actual.g - expected.g) <= 4 &&
           std::abs(actual.b - expected.b) <= 4;
}

int32_t loadBytes(ImageReader& reader, const Bytes& bytes) {
    return reader.loadFromMemory(bytes.data(), bytes.size());
}

// Pixel (x, y) of a colour picture; fails the test when there is none.
Rgb pixelAt(const ImageReader& image, int32_t x, int32_t y) {
    uint8_t out[3] = {0, 0, 0};
    EXPECT_EQ(image.getPixel(x, y, out), 1) << "no pixel at " << x << ", " << y;
    return {out[0], out[1], out[2]};
}

// The load fails with -1, prints exactly `message` (or, when it is null,
// some line of libjpeg's) and leaves no picture.
void expectRefused(ImageReader& reader, const Bytes& bytes, const char* message) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBytes(reader, bytes), -1);
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_TRUE(message ? printed == message : printed.size() > 1 && printed.back() == '\n') << printed;
    EXPECT_EQ(reader.pixelFormat, 0);
    EXPECT_EQ(reader.rgbRows, nullptr);
    EXPECT_EQ(reader.greyRows, nullptr);
    EXPECT_EQ(reader.width, 0);
    EXPECT_EQ(reader.height, 0);
}

TEST(TgaBmpReaders, picturesComeOutTopRowFirstInRedGreenBlue) {
    const std::vector<Rgb> rgbw = {RED, GREEN, BLUE, WHITE};
    // Each picture's pixels, top row first, and a file that stores it.
    struct Case {
        const char* what;
        Kind kind;
        Bytes file;
        int32_t width;
        std::vector<Rgb> pixels;
    } cases[] = {
        {"tga bottom row first", TGA, tgaFile({.width = 2, .height = 2}, bgr({BLUE, WHITE, RED, GREEN})), 2, rgbw},
        {"tga top row first", TGA, tgaFile({.descriptor = 0x20, .width = 2, .height = 2}, bgr(rgbw)), 2, rgbw},
        {"tga 32 bits",
         TGA,
         tgaFile({.pixelDepth = 32, .width = 2, .height = 1}, {10, 20, 30, 99, 40, 50, 60, 99}),
         2,
         {{30, 20, 10}, {60, 50, 40}}},
        {"tga image ID", TGA, tgaFile({.imageId = "made by hand", .width = 1, .height = 1}, bgr({GREEN})), 1, {GREEN}},
        // The fourth pixel keeps only its blue, the top row is missing: every
        // missing byte reads as 0xFF.
        {"tga cut short",
         TGA,
         withoutLast(tgaFile({.width = 2, .height = 3}, bgr({RED, GREEN, BLUE, {10, 20, 30}})), 2),
         2,
         {WHITE, WHITE, BLUE, {0xFF, 0xFF, 30}, RED, GREEN}},
        {"bmp width 4, no padding",
         BMP,
         bmpFile({.width = 4, .height = 2}, bgr({RED, GREEN, BLUE, WHITE, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 1, 2}})),
         4,
         {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {0, 1, 2}, RED, GREEN, BLUE, WHITE}},
        {"bmp rows padded to four bytes",
         BMP,
         bmpFile({.width = 3, .height = 2},
                 join({bgr({RED, GREEN, BLUE}), {7, 7, 7}, bgr({WHITE, GREEN, RED}), {7, 7, 7}})),
         3,
         {WHITE, GREEN, RED, RED, GREEN, BLUE}},
        {"bmp negative height", BMP,
         bmpFile({.width = 2, .height = -2}, join({bgr({RED, GREEN}), {7, 7}, bgr({BLUE, WHITE}), {7, 7}})), 2, rgbw},
        {"bmp 32 bits",
         BMP,
         bmpFile({.width = 2, .height = 1, .bitsPerPixel = 32}, {10, 20, 30, 0, 40, 50, 60, 0}),
         2,
         {{30, 20, 10}, {60, 50, 40}}},
        // A longer information header and a gap, as newer writers leave.
        {"bmp data offset",
         BMP,
         bmpFile({.width = 1, .height = 1, .infoHeaderSize = 124, .gap = 6}, bgr({GREEN})),
         1,
         {GREEN}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<ImageReader> reader = makeReader(c.kind);
        EXPECT_EQ(loadBytes(*reader, c.file), 0);
        EXPECT_EQ(reader->pixelFormat, 1);
        EXPECT_EQ(reader->greyRows, nullptr);
        int32_t height = static_cast<int32_t>(c.pixels.size()) / c.width;
        ASSERT_EQ(reader->width, c.width);
        ASSERT_EQ(reader->height, height);
        std::vector<Rgb> pixels;
        for (int32_t i = 0; i < c.width * height; ++i) pixels.push_back(pixelAt(*reader, i % c.width, i / c.width));
        EXPECT_EQ(pixels, c.pixels);
        uint8_t untouched[3] = {7, 8, 9};
        for (auto [x, y] : {std::pair{c.width, 0}, {-1, 0}, {0, height}, {0, -1}})
            EXPECT_EQ(reader->getPixel(x, y, untouched), 0) << x << ", " << y;
        EXPECT_EQ((Rgb{untouched[0], untouched[1], untouched[2]}), (Rgb{7, 8, 9}));
    }
}

TEST(TgaBmpReaders, greyTgaFillsOnlyGreyRows) {
    TgaReader reader;
    ASSERT_EQ(loadBytes(reader, tgaFile({.imageType = 3, .pixelDepth = 8, .width = 2, .height = 3}, {1, 2, 3})), 0);
    EXPECT_EQ(reader.pixelFormat, 2);
    EXPECT_EQ(reader.rgbRows, nullptr);
    Bytes grey;
    for (int y = 0; y < 3; ++y) grey.insert(grey.end(), reader.greyRows[y], reader.greyRows[y] + 2);
    EXPECT_EQ(grey, (Bytes{0xFF, 0xFF, 3, 0xFF, 1, 2}));  // bottom row first, missing bytes 0xFF
    uint8_t out[3] = {7, 7, 7};
    EXPECT_EQ(reader.getPixel(0, 0, out), 0);
    EXPECT_EQ(out[0], 7);
}

// libjpeg would end the program on a broken file; the reader prints
// libjpeg's message and fails the load instead. Huge pictures are refused
// before anything is allocated for them.
TEST(ImageReaders, refuseWhatTheyCannotDecode) {
    const Bytes red = bgr({RED}), jpeg = jpegFile(8, 8, true, Bytes(64, 0));
    struct Case {
        const char* what;
        Kind kind;
        Bytes file;
    } cases[] = {
        {"tga run-length", TGA, tgaFile({.imageType = 10, .width = 1, .height = 1}, red)},
        {"tga colour map", TGA, tgaFile({.colourMapType = 1, .width = 1, .height = 1}, red)},
        {"tga 16-bit colour", TGA, tgaFile({.pixelDepth = 16, .width = 1, .height = 1}, red)},
        {"tga 16-bit grey", TGA, tgaFile({.imageType = 3, .pixelDepth = 16, .width = 1, .height = 1}, red)},
        {"tga zero width", TGA, tgaFile({.width = 0, .height = 4}, red)},
        {"tga taller than 16384", TGA, tgaFile({.width = 1, .height = 65535}, red)},
        {"tga shorter than its header", TGA, withoutLast(tgaFile({.width = 1, .height = 1}, {}), 1)},
        {"bmp palette", BMP, bmpFile({.width = 1, .height = 1, .bitsPerPixel = 8}, red)},
        {"bmp compressed", BMP, bmpFile({.width = 1, .height = 1, .bitsPerPixel = 32, .compression = 3}, red)},
        {"bmp old OS/2 header", BMP, bmpFile({.width = 1, .height = 1, .infoHeaderSize = 12, .gap = 28}, red)},
        {"bmp not a bitmap", BMP, bmpFile({.width = 1, .height = 1, .signature = {'P', 'K'}}, red)},
        {"bmp negative width", BMP, bmpFile({.width = -3, .height = 1}, red)},
        {"bmp zero height", BMP, bmpFile({.width = 1, .height = 0}, red)},
        {"bmp wider than 16384", BMP, bmpFile({.width = 16385, .height = 1}, red)},
        {"bmp taller than 16384", BMP, bmpFile({.width = 1, .height = -16385}, red)},
        {"bmp most negative height", BMP, bmpFile({.width = 1, .height = INT_MIN}, red)},
        {"bmp huge both ways", BMP, bmpFile({.width = INT_MAX, .height = INT_MAX}, red)},
        {"bmp shorter than its headers", BMP, withoutLast(bmpFile({.width = 1, .height = 1}, {}), 1)},
        {"jpeg empty", JPEG, {}},
        {"not a jpeg", JPEG, {'h', 'e', 'l', 'l', 'o'}},
        {"jpeg cut inside its header", JPEG, Bytes(jpeg.begin(), jpeg.begin() + 30)},
        {"jpeg markers only", JPEG, {0xFF, 0xD8, 0xFF, 0xD9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        expectRefused(*makeReader(c.kind), c.file,
                      c.kind == TGA   ? "Can't read tga file\n"
                      : c.kind == BMP ? "Can't read bmp file\n"
                                      : nullptr);
    }
    JpegReader wide;
    expectRefused(wide, jpegFile(16385, 1, false, Bytes(16385 * 3, 0)), "Can't read jpeg file.\n");
}

TEST(JpegReader, colourAndGreyPicturesGiveColourRowsTopFirst) {
    // 16 x 16: the top half red, the bottom half blue, the right half of each
    // mixed with green; 16 x 8 grey: dark on the left, light on the right.
    Bytes colour, grey;
    for (int i = 0; i < 16 * 16; ++i) {
        bool top = i < 16 * 8, right = i % 16 >= 8;
        colour.insert(colour.end(), {uint8_t(top ? 255 : 0), uint8_t(right ? 255 : 0), uint8_t(top ? 0 : 255)});
        if (top) grey.push_back(right ? 220 : 40);
    }
    JpegReader reader;
    ASSERT_EQ(loadBytes(reader, jpegFile(16, 16, false, colour)), 0);
    EXPECT_EQ(reader.pixelFormat, 1);
    EXPECT_EQ(reader.height, 16);
    for (auto [x, y, expected] :
         {std::tuple{2, 2, RED}, {13, 2, Rgb{255, 255, 0}}, {2, 13, BLUE}, {13, 13, Rgb{0, 255, 255}}})
        EXPECT_TRUE(near(pixelAt(reader, x, y), expected)) << x << ", " << y;
    ASSERT_EQ(loadBytes(reader, jpegFile(16, 8, true, grey)), 0);
    EXPECT_EQ(reader.pixelFormat, 1);
    EXPECT_EQ(reader.greyRows, nullptr);
    EXPECT_EQ(reader.width, 16);
    EXPECT_TRUE(near(pixelAt(reader, 3, 4), {40, 40, 40}));
    EXPECT_TRUE(near(pixelAt(reader, 12, 7), {220, 220, 220}));
}

}  // namespace
