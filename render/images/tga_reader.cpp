#include "render/images/tga_reader.h"

#include <cstdio>

#include "render/images/byte_source.h"
#include "render/images/stored_rows.h"

namespace {

constexpr size_t TGA_HEADER_SIZE = 18;
constexpr uint8_t TYPE_TRUE_COLOR = 2;
constexpr uint8_t TYPE_GREYSCALE = 3;
// Image descriptor bit 5: the first stored row is the top one.
constexpr uint8_t ORIGIN_AT_TOP = 0x20;

TgaHeader readHeader(ByteSource& source);
bool isSupported(const TgaHeader& header);
void readColourRows(ByteSource& source, int bytesPerPixel, bool topFirst, ImageReader& image);
void readGreyRows(ByteSource& source, bool topFirst, ImageReader& image);

}  // namespace

TgaReader::TgaReader() : ImageReader("Can't open file\n") {}

int32_t TgaReader::decode(const uint8_t* bytes, size_t size) {
    ByteSource source(bytes, size);
    if (source.remaining() < TGA_HEADER_SIZE) {
        printf("Can't read tga file\n");
        return -1;
    }
    header = readHeader(source);
    bool grey = header.imageType == TYPE_GREYSCALE;
    // The image ID field is free text from the writing program.
    source.skip(header.idLength);
    uint64_t pixelBytes = static_cast<uint64_t>(header.width) * header.height * (header.pixelDepth / 8);
    bool made = isSupported(header) && holdsHalfOf(source.remaining(), pixelBytes) &&
                (grey ? makeGreyRows(header.width, header.height) : makeRgbRows(header.width, header.height));
    if (!made) {
        printf("Can't read tga file\n");
        return -1;
    }
    bool topFirst = (header.imageDescriptor & ORIGIN_AT_TOP) != 0;
    if (grey)
        readGreyRows(source, topFirst, *this);
    else
        readColourRows(source, header.pixelDepth / 8, topFirst, *this);
    return 0;
}

namespace {

TgaHeader readHeader(ByteSource& source) {
    TgaHeader header;
    header.idLength = source.get8();
    header.colourMapType = source.get8();
    header.imageType = source.get8();
    // The colour map fields only matter to colour-mapped images, which are
    // refused.
    header.colourMapFirstIndex = source.get16le();
    header.colourMapLength = source.get16le();
    header.colourMapEntrySize = source.get8();
    // The origin is where the writer would place the picture on a screen;
    // it doesn't change the pixels.
    header.xOrigin = source.get16le();
    header.yOrigin = source.get16le();
    header.width = source.get16le();
    header.height = source.get16le();
    header.pixelDepth = source.get8();
    // Bits 0-3 (alpha bits) and bit 4 (right-to-left storage) are ignored:
    // alpha bytes are dropped, and the rare right-to-left file is read with
    // its columns as stored.
    header.imageDescriptor = source.get8();
    return header;
}

bool isSupported(const TgaHeader& header) {
    if (header.colourMapType != 0) return false;
    if (header.imageType == TYPE_TRUE_COLOR) return header.pixelDepth == 24 || header.pixelDepth == 32;
    if (header.imageType == TYPE_GREYSCALE) return header.pixelDepth == 8;
    return false;
}

void readColourRows(ByteSource& source, int bytesPerPixel, bool topFirst, ImageReader& image) {
    for (int32_t stored = 0; stored < image.height; ++stored) {
        uint8_t* row = image.rgbRows[imageRowOfStoredRow(stored, image.height, topFirst)];
        readBgrRow(source, bytesPerPixel, image.width, row);
    }
}

void readGreyRows(ByteSource& source, bool topFirst, ImageReader& image) {
    for (int32_t stored = 0; stored < image.height; ++stored)
        readGreyRow(source, image.width, image.greyRows[imageRowOfStoredRow(stored, image.height, topFirst)]);
}

}  // namespace
