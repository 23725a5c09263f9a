// A decoded picture: rows of red, green, blue bytes or rows of grey bytes,
// row 0 at the top. Readers for each file type derive from it.
#pragma once

#include <cstdint>

class ImageReader {
public:
    ImageReader() = default;
    virtual ~ImageReader();
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;

    // Reads the file at `path`; -1 when the picture could not be read.
    virtual int32_t load(const char* path);
    // Copies the red, green, blue of pixel (x, y) into `out`; 0 when there
    // is no such colour pixel.
    int32_t getPixel(int32_t x, int32_t y, uint8_t out[3]) const;

    char fileName[260] = {};
    uint8_t** rgbRows = nullptr;
    uint8_t** greyRows = nullptr;
    int32_t pixelFormat = 0;  // 0 nothing read, 1 colour, 2 greyscale
    int32_t width = 0;
    int32_t height = 0;
};
