// A decoded picture: rows of red, green, blue bytes or rows of grey bytes,
// row 0 at the top and column 0 at the left, and beside the colour rows the
// picture's own alpha when its file carries one (PNG, DDS). Readers for each
// file type derive from it and decode from memory; `load` reads a file for
// them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// The widest and tallest picture any reader accepts. Checked against the
// file's header before any row is allocated, so a hostile header can't ask
// for more than 16384 x 16384 pixels.
constexpr int32_t MAX_IMAGE_SIDE = 16384;
// No accepted picture needs a bigger file: the largest one, 32 bits per pixel,
// plus generous room for headers, an ID field and row padding.
constexpr uint64_t MAX_IMAGE_FILE_BYTES = static_cast<uint64_t>(MAX_IMAGE_SIDE) * MAX_IMAGE_SIDE * 4 + (1 << 20);

// Which files a reader accepts: what the classic viewer has always read, or
// also what a model opened by name may use (paletted BMP, colour-mapped and
// run-length encoded TGA, 15- and 16-bit TGA).
enum class ImageFormats { Classic, Extended };

class ImageReader {
public:
    virtual ~ImageReader();
    ImageReader(const ImageReader&) = delete;
    ImageReader& operator=(const ImageReader&) = delete;

    // Reads the file at `path`; -1 when the picture could not be read. A
    // path that is not a regular file (a FIFO, a device, a folder) is
    // refused like one that can't be opened, without waiting on it.
    virtual int32_t load(const char* path);
    // Says what `load` says of a file it can't open, without opening any.
    void reportMissingFile() const;
    // Decodes a whole file already in memory; -1 when it can't be read.
    int32_t loadFromMemory(const uint8_t* bytes, size_t size);
    // Copies the red, green, blue of pixel (x, y) into `out`; 0 when there
    // is no such colour pixel.
    int32_t getPixel(int32_t x, int32_t y, uint8_t out[3]) const;
    // Frees the rows once nothing reads them any more (their texture is
    // uploaded). The size and pixel format stay as they were read.
    void releaseRows();

    char fileName[260] = {};
    uint8_t** rgbRows = nullptr;
    uint8_t** greyRows = nullptr;
    // The picture's own alpha, one byte per pixel in rows beside `rgbRows`;
    // null when its file has none.
    uint8_t** alphaRows = nullptr;
    int32_t pixelFormat = 0;  // 0 nothing read, 1 colour, 2 greyscale
    int32_t width = 0;
    int32_t height = 0;

protected:
    // `openFailureMessage` is printed when `load` can't open its file.
    explicit ImageReader(const char* openFailureMessage);

    // The reader's own decoding of a whole file; the reader holds nothing
    // when it starts.
    virtual int32_t decode(const uint8_t* bytes, size_t size) = 0;

    // Make `rowCount` rows of `pixelsPerRow` pixels (colour, colour with
    // alpha, or grey) and set the size and pixel format to match.
    // `decoderBytes` is what decoding holds beside the rows and the file.
    // False, holding nothing, when a side is out of range or the memory
    // can't be had, after a line saying why when the file's size doesn't
    // allow that much memory.
    bool makeRgbRows(int64_t pixelsPerRow, int64_t rowCount, uint64_t decoderBytes = 0);
    bool makeRgbAlphaRows(int64_t pixelsPerRow, int64_t rowCount, uint64_t decoderBytes);
    bool makeGreyRows(int64_t pixelsPerRow, int64_t rowCount, uint64_t decoderBytes = 0);
    // Back to a reader that holds no picture, as after a failed load.
    void clear();

private:
    bool makeRows(int64_t pixelsPerRow, int64_t rowCount, int bytesPerPixel, bool withAlpha, uint64_t decoderBytes);
    bool memoryAllowed(int64_t pixelsPerRow, int64_t rowCount, uint64_t bytesNeeded) const;

    const char* openFailureMessage_;
    size_t fileBytes_ = 0;
    std::unique_ptr<uint8_t[]> pixelStore_;
    std::unique_ptr<uint8_t*[]> rowTable_;
};

// True when a side read from a header is one a reader accepts.
bool imageSideInRange(int64_t side);
// True when a file holding `heldBytes` of pixel data has at least half of
// `leastBytes`, the fewest its header's picture can be stored in.
bool holdsHalfOf(uint64_t heldBytes, uint64_t leastBytes);
