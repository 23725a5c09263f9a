// TGA pictures: uncompressed true colour of 24 or 32 bits per pixel (the
// alpha byte is dropped) and uncompressed 8-bit greyscale. Colour-mapped and
// run-length encoded images and other depths are refused.
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
    TgaReader();

    TgaHeader header;

private:
    int32_t decode(const uint8_t* bytes, size_t size) override;
};
