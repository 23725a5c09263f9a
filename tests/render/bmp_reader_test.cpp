#include "render/images/bmp_reader.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/render/image_bytes.h"
#include "tests/render/reader_checks.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255};

TEST(BmpReader, widthFourNeedsNoPaddingAndFirstStoredPixelIsBottomLeft) {
    BmpReader reader;
    Bytes pixels = bgr({RED, GREEN, BLUE, WHITE, {1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}});
    ASSERT_EQ(loadBytes(reader, bmpFile({.width = 4, .height = 2}, pixels)), 0);
    EXPECT_EQ(reader.pixelFormat, 1);
    EXPECT_EQ(reader.width, 4);
    EXPECT_EQ(reader.height, 2);
    EXPECT_EQ(pixelAt(reader, 0, 1), RED);
    EXPECT_EQ(pixelAt(reader, 3, 1), WHITE);
    EXPECT_EQ(pixelAt(reader, 0, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixelAt(reader, 3, 0), (Rgb{10, 11, 12}));
}

TEST(BmpReader, rowsArePaddedToFourBytes) {
    // Three pixels are nine bytes: three bytes of padding follow each row.
    Bytes pixels = bgr({RED, GREEN, BLUE});
    pixels.insert(pixels.end(), {0xEE, 0xEE, 0xEE});
    Bytes top = bgr({{1, 2, 3}, {4, 5, 6}, WHITE});
    pixels.insert(pixels.end(), top.begin(), top.end());
    pixels.insert(pixels.end(), {0xEE, 0xEE, 0xEE});
    BmpReader reader;
    ASSERT_EQ(loadBytes(reader, bmpFile({.width = 3, .height = 2}, pixels)), 0);
    EXPECT_EQ(pixelAt(reader, 0, 0), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixelAt(reader, 2, 0), WHITE);
    EXPECT_EQ(pixelAt(reader, 0, 1), RED);
    EXPECT_EQ(pixelAt(reader, 2, 1), BLUE);
}

TEST(BmpReader, negativeHeightStoresTopRowFirst) {
    Bytes pixels = bgr({RED, GREEN});
    pixels.insert(pixels.end(), {0, 0});
    Bytes second = bgr({BLUE, WHITE});
    pixels.insert(pixels.end(), second.begin(), second.end());
    pixels.insert(pixels.end(), {0, 0});
    BmpReader reader;
    ASSERT_EQ(loadBytes(reader, bmpFile({.width = 2, .height = -2}, pixels)), 0);
    EXPECT_EQ(reader.height, 2);
    EXPECT_EQ(pixelAt(reader, 0, 0), RED);
    EXPECT_EQ(pixelAt(reader, 1, 0), GREEN);
    EXPECT_EQ(pixelAt(reader, 0, 1), BLUE);
}

TEST(BmpReader, thirtyTwoBitPixelsDropTheirFourthByte) {
    Bytes pixels = {10, 20, 30, 0, 40, 50, 60, 0};
    BmpReader reader;
    ASSERT_EQ(loadBytes(reader, bmpFile({.width = 2, .height = 1, .bitsPerPixel = 32}, pixels)), 0);
    EXPECT_EQ(pixelAt(reader, 0, 0), (Rgb{30, 20, 10}));
    EXPECT_EQ(pixelAt(reader, 1, 0), (Rgb{60, 50, 40}));
}

TEST(BmpReader, pixelsStartAtTheDataOffset) {
    // A longer information header and a gap, as newer writers leave.
    BmpReader reader;
    Bytes file = bmpFile({.width = 1, .height = 1, .infoHeaderSize = 124, .gap = 6}, bgr({GREEN}));
    ASSERT_EQ(loadBytes(reader, file), 0);
    EXPECT_EQ(pixelAt(reader, 0, 0), GREEN);
}

TEST(BmpReader, missingTrailingPixelBytesReadAsFF) {
    Bytes pixels = bgr({{1, 2, 3}, {4, 5, 6}});
    pixels.pop_back();  // the second pixel loses its red
    BmpReader reader;
    ASSERT_EQ(loadBytes(reader, bmpFile({.width = 2, .height = 2}, pixels)), 0);
    EXPECT_EQ(pixelAt(reader, 0, 1), (Rgb{1, 2, 3}));
    EXPECT_EQ(pixelAt(reader, 1, 1), (Rgb{0xFF, 5, 6}));
    EXPECT_EQ(pixelAt(reader, 0, 0), WHITE);
}

TEST(BmpReader, refusesWhatItCannotDecode) {
    struct Case {
        const char* what;
        BmpLayout layout;
    } cases[] = {
        {"palette", {.width = 1, .height = 1, .bitsPerPixel = 8}},
        {"16 bits", {.width = 1, .height = 1, .bitsPerPixel = 16}},
        {"run-length", {.width = 1, .height = 1, .compression = 1}},
        {"bit fields", {.width = 1, .height = 1, .bitsPerPixel = 32, .compression = 3}},
        {"old OS/2 header", {.width = 1, .height = 1, .infoHeaderSize = 12}},
        {"not a bitmap", {.width = 1, .height = 1, .signature = {'P', 'K'}}},
        {"zero width", {.width = 0, .height = 1}},
        {"negative width", {.width = -3, .height = 1}},
        {"zero height", {.width = 1, .height = 0}},
        {"wider than 16384", {.width = 16385, .height = 1}},
        {"taller than 16384", {.width = 1, .height = -16385}},
        {"most negative height", {.width = 1, .height = INT_MIN}},
        {"huge both ways", {.width = INT_MAX, .height = INT_MAX}},
    };
    for (const Case& c : cases) {
        BmpReader reader;
        expectRefused(reader, bmpFile(c.layout, bgr({RED})), "Can't read bmp file\n", c.what);
    }
}

TEST(BmpReader, fileShorterThanItsHeadersIsRefused) {
    Bytes file = bmpFile({.width = 1, .height = 1}, {});
    for (size_t length : {size_t{0}, size_t{14}, size_t{53}}) {
        BmpReader reader;
        expectRefused(reader, Bytes(file.begin(), file.begin() + length), "Can't read bmp file\n", "short");
    }
}

}  // namespace
