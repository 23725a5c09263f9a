#include "render/images/jpeg_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/render/image_bytes.h"
#include "tests/render/reader_checks.h"

namespace {

// Colours survive a quality 100 round trip within a few steps.
void expectNear(const Rgb& actual, const Rgb& expected) {
    EXPECT_LE(std::abs(actual.r - expected.r), 4) << "red";
    EXPECT_LE(std::abs(actual.g - expected.g), 4) << "green";
    EXPECT_LE(std::abs(actual.b - expected.b), 4) << "blue";
}

// 16 x 16: the top half red, the bottom half blue, the right half of each
// mixed with green.
Bytes quarteredPicture() {
    Bytes samples;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            samples.push_back(y < 8 ? 255 : 0);
            samples.push_back(x < 8 ? 0 : 255);
            samples.push_back(y < 8 ? 0 : 255);
        }
    }
    return jpegFile(16, 16, false, samples);
}

TEST(JpegReader, colourPictureKeepsRowZeroAtTheTop) {
    JpegReader reader;
    ASSERT_EQ(loadBytes(reader, quarteredPicture()), 0);
    EXPECT_EQ(reader.pixelFormat, 1);
    EXPECT_EQ(reader.width, 16);
    EXPECT_EQ(reader.height, 16);
    expectNear(pixelAt(reader, 2, 2), {255, 0, 0});
    expectNear(pixelAt(reader, 13, 2), {255, 255, 0});
    expectNear(pixelAt(reader, 2, 13), {0, 0, 255});
    expectNear(pixelAt(reader, 13, 13), {0, 255, 255});
}

TEST(JpegReader, greyPictureBecomesGreyColourPixels) {
    Bytes samples;
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 24; ++x) samples.push_back(x < 8 ? 40 : x < 16 ? 128 : 220);
    }
    JpegReader reader;
    ASSERT_EQ(loadBytes(reader, jpegFile(24, 8, true, samples)), 0);
    EXPECT_EQ(reader.pixelFormat, 1);
    EXPECT_EQ(reader.greyRows, nullptr);
    EXPECT_EQ(reader.width, 24);
    expectNear(pixelAt(reader, 3, 4), {40, 40, 40});
    expectNear(pixelAt(reader, 11, 4), {128, 128, 128});
    expectNear(pixelAt(reader, 20, 7), {220, 220, 220});
}

TEST(JpegReader, brokenFilesFailWithoutEndingTheProgram) {
    Bytes whole = quarteredPicture();
    struct Case {
        const char* what;
        Bytes bytes;
    } cases[] = {
        {"empty", {}},
        {"not a jpeg", {'h', 'e', 'l', 'l', 'o'}},
        {"cut inside the header", Bytes(whole.begin(), whole.begin() + 30)},
        {"markers only", {0xFF, 0xD8, 0xFF, 0xD9}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        JpegReader reader;
        testing::internal::CaptureStdout();
        EXPECT_EQ(loadBytes(reader, c.bytes), -1);
        std::string printed = testing::internal::GetCapturedStdout();
        EXPECT_FALSE(printed.empty());
        EXPECT_EQ(printed.back(), '\n');
        EXPECT_EQ(reader.rgbRows, nullptr);
        EXPECT_EQ(reader.pixelFormat, 0);
    }
}

TEST(JpegReader, pictureWiderThan16384IsRefusedBeforeDecoding) {
    Bytes samples(16385 * 3, 0);
    JpegReader reader;
    expectRefused(reader, jpegFile(16385, 1, false, samples), "Can't read jpeg file.\n", "wide");
}

}  // namespace
