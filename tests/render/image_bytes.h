// Picture files written byte by byte for the reader and texture tests.
#pragma once

#include <png.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

using Rgb = std::array<uint8_t, 3>;  // red, green, blue

struct TgaLayout {
    uint8_t imageType = 2;
    uint8_t pixelDepth = 24;
    uint8_t descriptor = 0;
    uint8_t colourMapType = 0;
    std::string imageId = "";
    uint16_t width = 0;
    uint16_t height = 0;
    uint16_t mapFirstIndex = 0;
    uint8_t mapEntrySize = 0;
    Bytes colourMap = {};  // as stored, `mapEntrySize` bits an entry
};

struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0;
    uint32_t infoHeaderSize = 40;
    uint32_t gap = 0;  // bytes between the headers and the pixels
    char signature[2] = {'B', 'M'};
    uint32_t coloursUsed = 0;
    Bytes palette = {};  // as stored, after the information header
};

// A PNG that libpng writes from `samples`: rows top first, each pixel's
// samples in the colour type's order, each below 2 to the bit depth.
struct PngLayout {
    int width = 0;
    int height = 0;
    int colourType = PNG_COLOR_TYPE_RGB;
    int bitDepth = 8;
    bool interlaced = false;
    std::vector<png_color> palette = {};
    Bytes paletteAlpha = {};                       // a paletted picture's tRNS
    std::optional<png_color_16> transparent = {};  // a grey or RGB picture's tRNS
};

// A DDS file's header fields; by default a DXT1 texture. A four-character
// code of "DX10" adds the extended header.
struct DdsLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t formatFlags = 0x4;  // 0x4 a four-character code, 0x40 RGB, 0x20000 luminance, 0x1 alpha
    std::string fourCc = "DXT1";
    uint32_t bitsPerPixel = 0;
    std::array<uint32_t, 4> masks = {};  // red (or luminance), green, blue, alpha
    uint32_t caps2 = 0;
    uint32_t headerSize = 124;
    uint32_t formatSize = 32;
    uint32_t extendedFormat = 71;  // BC1
    uint32_t dimension = 3;        // 2-D
    uint32_t miscFlags = 0;
    uint32_t arraySize = 1;
    uint32_t alphaMode = 0;
};

inline void putLittleEndian(Bytes& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> 8 * i));
}

inline Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

inline Bytes withoutLast(Bytes bytes, size_t count) {
    return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(count));
}

// An 18-byte TGA header, the image ID, the colour map and then `pixels` as
// stored.
inline Bytes tgaFile(const TgaLayout& layout, const Bytes& pixels) {
    Bytes out = {static_cast<uint8_t>(layout.imageId.size()), layout.colourMapType, layout.imageType};
    putLittleEndian(out, layout.mapFirstIndex, 2);
    size_t entryBytes = (layout.mapEntrySize + 7) / 8;
    putLittleEndian(out, static_cast<uint32_t>(entryBytes > 0 ? layout.colourMap.size() / entryBytes : 0), 2);
    out.push_back(layout.mapEntrySize);
    out.resize(12, 0);  // the origin
    putLittleEndian(out, layout.width, 2);
    putLittleEndian(out, layout.height, 2);
    out.insert(out.end(), {layout.pixelDepth, layout.descriptor});
    out.insert(out.end(), layout.imageId.begin(), layout.imageId.end());
    out.insert(out.end(), layout.colourMap.begin(), layout.colourMap.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// BMP headers, the palette (the data offset past it and `gap` zero bytes)
// and `pixels` as stored.
inline Bytes bmpFile(const BmpLayout& layout, const Bytes& pixels) {
    uint32_t paletteOffset = 14 + layout.infoHeaderSize;
    uint32_t dataOffset = paletteOffset + static_cast<uint32_t>(layout.palette.size()) + layout.gap;
    Bytes out = {static_cast<uint8_t>(layout.signature[0]), static_cast<uint8_t>(layout.signature[1])};
    for (uint32_t field : {static_cast<uint32_t>(dataOffset + pixels.size()), 0u, dataOffset, layout.infoHeaderSize,
                           static_cast<uint32_t>(layout.width), static_cast<uint32_t>(layout.height)})
        putLittleEndian(out, field, 4);
    putLittleEndian(out, 1, 2);  // planes
    putLittleEndian(out, layout.bitsPerPixel, 2);
    putLittleEndian(out, layout.compression, 4);
    out.resize(46, 0);  // image size and resolutions
    putLittleEndian(out, layout.coloursUsed, 4);
    out.resize(paletteOffset, 0);
    out.insert(out.end(), layout.palette.begin(), layout.palette.end());
    out.resize(dataOffset, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// The signature, the header, the extended header when the layout has one,
// then `pixels` as stored.
inline Bytes ddsFile(const DdsLayout& layout, const Bytes& pixels) {
    Bytes out = {'D', 'D', 'S', ' '};
    // Flags, sides, pitch, depth and one level, eleven reserved fields.
    for (uint32_t field : {layout.headerSize, 0x100Fu, layout.height, layout.width, 0u, 0u, 1u})
        putLittleEndian(out, field, 4);
    out.resize(4 + 72, 0);
    putLittleEndian(out, layout.formatSize, 4);
    putLittleEndian(out, layout.formatFlags, 4);
    out.insert(out.end(), layout.fourCc.begin(), layout.fourCc.end());
    putLittleEndian(out, layout.bitsPerPixel, 4);
    for (uint32_t mask : layout.masks) putLittleEndian(out, mask, 4);
    for (uint32_t field : {0x1000u, layout.caps2, 0u, 0u, 0u}) putLittleEndian(out, field, 4);
    if (layout.fourCc == "DX10")
        for (uint32_t field :
             {layout.extendedFormat, layout.dimension, layout.miscFlags, layout.arraySize, layout.alphaMode})
            putLittleEndian(out, field, 4);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Pixels stored blue, green, red, one after another.
inline Bytes bgr(const std::vector<Rgb>& pixels) {
    Bytes out;
    for (const Rgb& pixel : pixels) out.insert(out.end(), {pixel[2], pixel[1], pixel[0]});
    return out;
}

inline Bytes pngFile(const PngLayout& layout, const std::vector<uint16_t>& samples) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Bytes out, stored;
    png_set_write_fn(
        png, &out,
        [](png_structp writer, png_bytep bytes, size_t count) {
            Bytes& written = *static_cast<Bytes*>(png_get_io_ptr(writer));
            written.insert(written.end(), bytes, bytes + count);
        },
        nullptr);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colourType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty())
        png_set_PLTE(png, info, layout.palette.data(), static_cast<int>(layout.palette.size()));
    if (!layout.paletteAlpha.empty() || layout.transparent)
        png_set_tRNS(png, info, layout.paletteAlpha.data(), static_cast<int>(layout.paletteAlpha.size()),
                     layout.transparent ? &*layout.transparent : nullptr);
    png_write_info(png, info);
    png_set_packing(png);  // samples of fewer than 8 bits come a byte each
    for (uint16_t sample : samples) {
        if (layout.bitDepth == 16) stored.push_back(static_cast<uint8_t>(sample >> 8));
        stored.push_back(static_cast<uint8_t>(sample));
    }
    std::vector<png_bytep> rows;
    for (int y = 0; y < layout.height; ++y) rows.push_back(stored.data() + y * stored.size() / layout.height);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}
