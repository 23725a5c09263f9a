#include "tests/render/reader_checks.h"

#include <gtest/gtest.h>
#include <unistd.h>

int32_t loadBytes(ImageReader& reader, const Bytes& bytes) {
    return reader.loadFromMemory(bytes.data(), bytes.size());
}

Rgb pixelAt(const ImageReader& image, int32_t x, int32_t y) {
    uint8_t out[3] = {0, 0, 0};
    EXPECT_EQ(image.getPixel(x, y, out), 1) << "no pixel at " << x << ", " << y;
    return {out[0], out[1], out[2]};
}

void expectRefused(ImageReader& reader, const Bytes& bytes, const std::string& message, const char* what) {
    SCOPED_TRACE(what);
    testing::internal::CaptureStdout();
    EXPECT_EQ(loadBytes(reader, bytes), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), message);
    EXPECT_EQ(reader.pixelFormat, 0);
    EXPECT_EQ(reader.rgbRows, nullptr);
    EXPECT_EQ(reader.greyRows, nullptr);
    EXPECT_EQ(reader.width, 0);
    EXPECT_EQ(reader.height, 0);
}

TemporaryFile::TemporaryFile(const std::string& name, const Bytes& bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-images-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    path = (folder / name).string();
    writeFile(path, bytes);
}

TemporaryFile::~TemporaryFile() {
    std::filesystem::remove_all(folder);
}
