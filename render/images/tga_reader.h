// TGA pictures. Always read: uncompressed true colour of 24 or 32 bits per
// pixel (the alpha byte is dropped) and uncompressed 8-bit greyscale. Read
// for the extended formats as well: true colour of 15 or 16 bits,
// colour-mapped pictures (8- or 16-bit indexes into a map of 15-, 16-, 24-
// or 32-bit entries) and the run-length encoded form of each kind. Other
// depths are refused.
#pragma once

#include "render/images/image_reader.h"

struct TgaHeader {
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 0;
    uint16_t colourMapFirstIndex = 0;
    uint16_t colourMapLength = 0;
    uint8_t colourMapEntrySize = 0;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;
    uint8_t imageDescriptor = 0;
};

class TgaReader : public ImageReader {
public:
    explicit TgaReader(ImageFormats formats = ImageFormats::Classic);

    TgaHeader header;

private:
    int32_t decode(const uint8_t* bytes, size_t size) override;

    const ImageFormats formats_;
};
