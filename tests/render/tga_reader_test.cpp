#include "render/images/tga_reader.h"

#include <gtest/gtest.h>

#include "render/images/bmp_reader.h"
#include "render/images/jpeg_reader.h"

#include "tests/render/image_bytes.h"
#include "tests/render/reader_checks.h"

namespace {

const Rgb RED{255, 0, 0}, GREEN{0, 255, 0}, BLUE{0, 0, 255}, WHITE{255, 255, 255};

// A 2 x 2 picture: red top left, green top right, blue bottom left, white
// bottom right.
Bytes twoByTwo(uint8_t descriptor) {
    TgaLayout layout{.descriptor = descriptor, .width = 2, .height = 2};
    bool topFirst = descriptor & 0x20;
    return tgaFile(layout, topFirst ? bgr({RED, GREEN, BLUE, WHITE}) : bgr({BLUE, WHITE, RED, GREEN}));
}

void expectTwoByTwo(const ImageReader& image) {
    EXPECT_EQ(pixelAt(image, 0, 0), RED);
    EXPECT_EQ(pixelAt(image, 1, 0), GREEN);
    EXPECT_EQ(pixelAt(image, 0, 1), BLUE);
    EXPECT_EQ(pixelAt(image, 1, 1), WHITE);
}

TEST(TgaReader, bottomFirstFileIsTurnedSoRowZeroIsTheTop) {
    TgaReader reader;
    ASSERT_EQ(loadBytes(reader, twoByTwo(0)), 0);
    EXPECT_EQ(reader.pixelFormat, 1);
    EXPECT_EQ(reader.width, 2);
    EXPECT_EQ(reader.height, 2);
    EXPECT_EQ(reader.greyRows, nullptr);
    expectTwoByTwo(reader);
}

TEST(TgaReader, topFirstOriginBitKeepsStoredOrder) {
    TgaReader reader;
    ASSERT_EQ(loadBytes(reader, twoByTwo(0x20)), 0);
    expectTwoByTwo(reader);
}

TEST(TgaReader, thirtyTwoBitPixelsDropTheirAlphaByte) {
    TgaReader reader;
    Bytes pixels = {10, 20, 30, 99, 40, 50, 60, 99};  // blue, green, red, alpha
    ASSERT_EQ(loadBytes(reader, tgaFile({.pixelDepth = 32, .width = 2, .height = 1}, pixels)), 0);
    EXPECT_EQ(pixelAt(reader, 0, 0), (Rgb{30, 20, 10}));
    EXPECT_EQ(pixelAt(reader, 1, 0), (Rgb{60, 50, 40}));
}

TEST(TgaReader, imageIdFieldIsSkipped) {
    TgaReader reader;
    Bytes file = tgaFile({.imageId = "made by hand", .width = 1, .height = 1}, bgr({GREEN}));
    ASSERT_EQ(loadBytes(reader, file), 0);
    EXPECT_EQ(pixelAt(reader, 0, 0), GREEN);
}

TEST(TgaReader, greyscaleFillsOnlyGreyRowsAndMissingBytesReadAsFF) {
    TgaReader reader;
    Bytes file = tgaFile({.imageType = 3, .pixelDepth = 8, .width = 2, .height = 3}, {1, 2, 3});
    ASSERT_EQ(loadBytes(reader, file), 0);
    EXPECT_EQ(reader.pixelFormat, 2);
    EXPECT_EQ(reader.rgbRows, nullptr);
    EXPECT_EQ(reader.greyRows[2][1], 2);  // the stored bottom row comes first
    EXPECT_EQ(reader.greyRows[1][0], 3);
    EXPECT_EQ(reader.greyRows[1][1], 0xFF);
    EXPECT_EQ(reader.greyRows[0][0], 0xFF);
    uint8_t out[3] = {7, 7, 7};
    EXPECT_EQ(reader.getPixel(0, 0, out), 0);
    EXPECT_EQ(out[0], 7);
}

TEST(TgaReader, pixelsOutsideThePictureAreNotThere) {
    TgaReader reader;
    ASSERT_EQ(loadBytes(reader, twoByTwo(0)), 0);
    for (auto [x, y] : {std::pair{2, 0}, {-1, 0}, {0, 2}, {0, -1}}) {
        uint8_t out[3] = {7, 8, 9};
        EXPECT_EQ(reader.getPixel(x, y, out), 0);
        EXPECT_EQ(out[0], 7);
        EXPECT_EQ(out[2], 9);
    }
}

TEST(TgaReader, missingTrailingPixelBytesReadAsFF) {
    TgaReader reader;
    Bytes pixels = bgr({RED, GREEN, BLUE, {10, 20, 30}});
    pixels.resize(pixels.size() - 2);  // the last pixel keeps only its blue
    ASSERT_EQ(loadBytes(reader, tgaFile({.width = 2, .height = 2}, pixels)), 0);
    EXPECT_EQ(pixelAt(reader, 0, 0), BLUE);
    EXPECT_EQ(pixelAt(reader, 1, 0), (Rgb{0xFF, 0xFF, 30}));
    EXPECT_EQ(pixelAt(reader, 0, 1), RED);
}

TEST(TgaReader, refusesWhatItCannotDecode) {
    struct Case {
        const char* what;
        TgaLayout layout;
    } cases[] = {
        {"run-length colour", {.imageType = 10, .width = 1, .height = 1}},
        {"colour-mapped", {.imageType = 1, .pixelDepth = 8, .colorMapType = 1, .width = 1, .height = 1}},
        {"colour map with true colour", {.colorMapType = 1, .width = 1, .height = 1}},
        {"16-bit colour", {.pixelDepth = 16, .width = 1, .height = 1}},
        {"16-bit grey", {.imageType = 3, .pixelDepth = 16, .width = 1, .height = 1}},
        {"zero width", {.width = 0, .height = 4}},
        {"zero height", {.width = 4, .height = 0}},
        {"wider than 16384", {.width = 16385, .height = 1}},
        {"taller than 16384", {.width = 1, .height = 65535}},
    };
    for (const Case& c : cases) {
        TgaReader reader;
        expectRefused(reader, tgaFile(c.layout, bgr({RED})), "Can't read tga file\n", c.what);
    }
}

TEST(TgaReader, fileShorterThanItsHeaderIsRefused) {
    Bytes file = tgaFile({.width = 1, .height = 1}, {});
    for (size_t length : {size_t{0}, size_t{1}, size_t{17}}) {
        TgaReader reader;
        expectRefused(reader, Bytes(file.begin(), file.begin() + length), "Can't read tga file\n", "short");
    }
}

TEST(TgaReader, readsFromAPathAndRemembersIt) {
    TemporaryFile file("picture.tga", twoByTwo(0));
    TgaReader reader;
    ASSERT_EQ(reader.load(file.path.c_str()), 0);
    EXPECT_STREQ(reader.fileName, file.path.c_str());
    expectTwoByTwo(reader);
}

TEST(ImageReaders, missingFileSaysItCannotOpen) {
    TgaReader tga;
    BmpReader bmp;
    JpegReader jpeg;
    for (auto [reader, message] : {std::pair<ImageReader*, std::string>{&tga, "Can't open file\n"},
                                   {&bmp, "Can't open file\n"}, {&jpeg, "Can't open jpeg file.\n"}}) {
        testing::internal::CaptureStdout();
        EXPECT_EQ(reader->load("no/such/picture"), -1);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), message);
        EXPECT_STREQ(reader->fileName, "");
    }
}

}  // namespace
