// Picture files written byte by byte for the reader and texture tests.
#pragma once

#include <cstdint>
#include <fstream>
#include <initializer_list>
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
    uint8_t colourMapType = 0;
    std::string imageId = "";
    uint16_t width = 0;
    uint16_t height = 0;
};

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t infoHeaderSize = 40;
    uint32_t gap = 0;  // bytes between the headers and the pixels
    char signature[2] = {'B', 'M'};
};

inline void putLittleEndian(Bytes& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> 8 * i));
}

// An 18-byte TGA header, the image ID and then `pixels` as stored.
inline Bytes tgaFile(const TgaLayout& layout, const Bytes& pixels) {
    Bytes out = {static_cast<uint8_t>(layout.imageId.size()), layout.colourMapType, layout.imageType};
    out.resize(12, 0);  // colour map fields and the origin
    putLittleEndian(out, layout.width, 2);
    putLittleEndian(out, layout.height, 2);
    out.insert(out.end(), {layout.pixelDepth, layout.descriptor});
    out.insert(out.end(), layout.imageId.begin(), layout.imageId.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// BMP headers (the data offset past `gap` zero bytes) and `pixels` as stored.
inline Bytes bmpFile(const BmpLayout& layout, const Bytes& pixels) {
    uint32_t dataOffset = 14 + layout.infoHeaderSize + layout.gap;
    Bytes out = {static_cast<uint8_t>(layout.signature[0]), static_cast<uint8_t>(layout.signature[1])};
    for (uint32_t field : {static_cast<uint32_t>(dataOffset + pixels.size()), 0u, dataOffset, layout.infoHeaderSize,
                           static_cast<uint32_t>(layout.width), static_cast<uint32_t>(layout.height)})
        putLittleEndian(out, field, 4);
    putLittleEndian(out, 1, 2);  // planes
    putLittleEndian(out, layout.bitsPerPixel, 2);
    putLittleEndian(out, layout.compression, 4);
    out.resize(dataOffset, 0);  // image size, resolutions and palette counts
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Pixels stored blue, green, red, one after another.
inline Bytes bgr(const std::vector<Rgb>& pixels) {
    Bytes out;
    for (const Rgb& pixel : pixels) out.insert(out.end(), {pixel.b, pixel.g, pixel.r});
    return out;
}

inline void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
