// BMP pictures. Always read: uncompressed 24 or 32 bits per pixel (the
// fourth byte is dropped), stored bottom row first or, with a negative
// height, top row first. Read for the extended formats as well: uncompressed
// palettes of 1, 4 and 8 bits per pixel. Compression, other depths and the
// old 12-byte OS/2 header are refused.
#pragma once

#include "render/images/image_reader.h"

struct BmpFileHeader {
    uint16_t type = 0;
    uint32_t fileSize = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t dataOffset = 0;
};

struct BmpInfoHeader {
    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xPixelsPerMeter = 0;
    int32_t yPixelsPerMeter = 0;
    uint32_t coloursUsed = 0;
    uint32_t importantColours = 0;
};

class BmpReader : public ImageReader {
public:
    explicit BmpReader(ImageFormats formats = ImageFormats::Classic);

    BmpFileHeader fileHeader;
    BmpInfoHeader infoHeader;

private:
    int32_t decode(const uint8_t* bytes, size_t size) override;

    const ImageFormats formats_;
};
