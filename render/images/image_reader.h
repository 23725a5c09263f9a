// A decoded picture: rows of red, green, blue bytes or rows of grey bytes,
// row 0 at the top and column 0 at the left. Readers for each file type
// derive from it and decode from memory; `load` reads a file for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The widest and tallest picture any reader accepts. Checked against the
// file's header before any row is allocated, so a hostile header can't ask
// for more than 16384 x 16384 pixels.
constexpr int32_t MAX_IMAGE_SIDE = 16384;

class ImageReader {
public:
    virtual ~ImageReader();
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;

    // Reads the file at `path`; -1 when the picture could not be read.
    virtual int32_t load(const char* path);
    // Decodes a whole file already in memory; -1 when it can't be read.
    virtual int32_t loadFromMemory(const uint8_t* bytes, size_t size) = 0;
    // Copies the red, green, blue of pixel (x, y) into `out`; 0 when there
    // is no such colour pixel.
    int32_t getPixel(int32_t x, int32_t y, uint8_t out[3]) const;

    char fileName[260] = {};
    uint8_t** rgbRows = nullptr;
    uint8_t** greyRows = nullptr;
    int32_t pixelFormat = 0;  // 0 nothing read, 1 colour, 2 greyscale
    int32_t width = 0;
    int32_t height = 0;

protected:
    // `openFailureMessage` is printed when `load` can't open its file.
    explicit ImageReader(const char* openFailureMessage);

    // Makes `rowCount` rows of `pixelsPerRow` pixels, colour or grey, and
    // sets the size and pixel format to match. False (with nothing held)
    // when a side is out of range or the memory can't be had.
    bool makeRgbRows(int64_t pixelsPerRow, int64_t rowCount);
    bool makeGreyRows(int64_t pixelsPerRow, int64_t rowCount);
    // Back to a reader that holds no picture, as after a failed load.
    void releaseRows();

private:
    bool makeRows(int64_t pixelsPerRow, int64_t rowCount, int bytesPerPixel);

    const char* openFailureMessage_;
    std::unique_ptr<uint8_t[]> pixelStore_;
    std::unique_ptr<uint8_t*[]> rowTable_;
};

// True when a side read from a header is one a reader accepts.
bool imageSideInRange(int64_t side);
