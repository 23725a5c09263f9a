// Picture files written byte by byte for the reader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

struct TgaLayout {
    uint8_t imageType = 2;
    uint8_t pixelDepth = 24;
    uint8_t descriptor = 0;
    uint8_t colorMapType = 0;
    std::string imageId = "";
    uint16_t width = 0;
    uint16_t height = 0;
};

// An 18-byte TGA header, the image ID and then `pixels` as stored.
Bytes tgaFile(const TgaLayout& layout, const Bytes& pixels);

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t infoHeaderSize = 40;
    // Bytes between the headers and the pixels.
    uint32_t gap = 0;
    char signature[2] = {'B', 'M'};
};

// BMP headers (the data offset past `gap` zero bytes) and `pixels` as stored.
Bytes bmpFile(const BmpLayout& layout, const Bytes& pixels);

// Pixels stored blue, green, red, one after another.
Bytes bgr(std::initializer_list<Rgb> pixels);

// A baseline JPEG made by libjpeg from `samples`, rows top first: red,
// green, blue per pixel, or one byte per pixel when `grey`.
Bytes jpegFile(int32_t width, int32_t height, bool grey, const Bytes& samples);

// Writes `bytes` to `path`.
void writeFile(const std::string& path, const Bytes& bytes);
