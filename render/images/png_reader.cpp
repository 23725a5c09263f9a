#include "render/images/png_reader.h"
#include "render/images/image_messages.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <new>

struct PngFile {
    const uint8_t* bytes;
    size_t size;
    size_t position;
};

namespace {

constexpr const char* READ_FAILURE_MESSAGE = "Can't read png file\n";
// Deflate makes at most about 1032 bytes of one.
constexpr uint64_t MAX_DEFLATE_EXPANSION = 1032;
// libpng keeps two rows of up to 8 bytes a pixel, and zlib its window.
constexpr uint64_t DECODER_BYTES_PER_PIXEL_OF_ROW = 16;
constexpr uint64_t INFLATE_BYTES = 64 << 10;

[[noreturn]] void escapeFromDecoding(png_structp png, png_const_charp message);
void ignoreWarning(png_structp png, png_const_charp message);
void readFromFile(png_structp png, png_bytep out, size_t count);
uint64_t leastDeflatedBytes(png_structp png, png_infop info);

}  // namespace

PngReader::PngReader() : ImageReader("Can't open file\n") {}

int32_t PngReader::decode(const uint8_t* bytes, size_t size) {
    PngFile file{bytes, size, 0};
    std::unique_ptr<uint8_t[]> scratch;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, escapeFromDecoding, ignoreWarning);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    bool read = info != nullptr && readPicture(png, info, file, scratch);
    png_destroy_read_struct(&png, &info, nullptr);
    if (read) return 0;
    tellImageMessage("%s", READ_FAILURE_MESSAGE);
    clear();
    return -1;
}

// NOTE: nothing with a destructor may live in this function: libpng reports
// a failure through longjmp, which skips destructors.
bool PngReader::readPicture(png_structp png, png_infop info, PngFile& file, std::unique_ptr<uint8_t[]>& scratch) {
    if (setjmp(png_jmpbuf(png)) != 0) return false;
    png_set_read_fn(png, &file, readFromFile);
    png_set_user_limits(png, MAX_IMAGE_SIDE, MAX_IMAGE_SIDE);
    // Every chunk but the header, palette, transparency and pixels.
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_read_info(png, info);
    if (!makeRowsFor(png, info, file.size, scratch)) return false;
    if (alphaRows != nullptr)
        readSplittingAlpha(png, png_set_interlace_handling(png), scratch.get());
    else
        png_read_image(png, rgbRows != nullptr ? rgbRows : greyRows);
    return true;
}

bool PngReader::makeRowsFor(png_structp png, png_infop info, size_t fileSize, std::unique_ptr<uint8_t[]>& scratch) {
    if (!holdsHalfOf(fileSize, leastDeflatedBytes(png, info))) return false;
    int colourType = png_get_color_type(png, info);
    bool alpha = (colourType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    bool grey = (colourType & PNG_COLOR_MASK_COLOR) == 0;
    // Palettes become colours, small grey samples 8 bits and transparent
    // colours alpha.
    png_set_expand(png);
    png_set_scale_16(png);
    if (grey && alpha) png_set_gray_to_rgb(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    uint32_t pixelsPerRow = png_get_image_width(png, info), rowCount = png_get_image_height(png, info);
    // The rows below are made for exactly this many bytes a row.
    size_t channels = alpha ? 4 : grey ? 1 : 3;
    if (png_get_rowbytes(png, info) != pixelsPerRow * channels) return false;
    uint64_t decoderBytes = pixelsPerRow * DECODER_BYTES_PER_PIXEL_OF_ROW + INFLATE_BYTES;
    if (!alpha)
        return grey ? makeGreyRows(pixelsPerRow, rowCount, decoderBytes)
                    : makeRgbRows(pixelsPerRow, rowCount, decoderBytes);
    bool interlaced = png_get_interlace_type(png, info) != PNG_INTERLACE_NONE;
    size_t scratchBytes = static_cast<size_t>(pixelsPerRow) * 4 * (interlaced ? rowCount : 1);
    if (!makeRgbAlphaRows(pixelsPerRow, rowCount, decoderBytes + scratchBytes)) return false;
    scratch.reset(new (std::nothrow) uint8_t[scratchBytes]);
    return scratch != nullptr;
}

// An interlaced picture comes in passes that each add pixels to rows
// already read, so its last pass finds the whole picture in `scratch`.
void PngReader::readSplittingAlpha(png_structp png, int passes, uint8_t* scratch) {
    size_t rowBytes = static_cast<size_t>(width) * 4;
    for (int pass = 0; pass < passes; ++pass) {
        for (int32_t y = 0; y < height; ++y) {
            uint8_t* rgba = passes > 1 ? scratch + y * rowBytes : scratch;
            png_read_row(png, rgba, nullptr);
            if (pass < passes - 1) continue;
            for (int32_t x = 0; x < width; ++x) {
                memcpy(rgbRows[y] + 3 * x, rgba + 4 * x, 3);
                alphaRows[y][x] = rgba[4 * x + 3];
            }
        }
    }
}

namespace {

// libpng's messages go to the console like every other reader's; then the
// load fails instead of the program ending.
void escapeFromDecoding(png_structp png, png_const_charp message) {
    tellImageMessage("%s\n", message);
    png_longjmp(png, 1);
}

// Warnings are about chunks that don't change the pixels.
void ignoreWarning(png_structp, png_const_charp) {}

void readFromFile(png_structp png, png_bytep out, size_t count) {
    PngFile& file = *static_cast<PngFile*>(png_get_io_ptr(png));
    if (count > file.size - file.position) png_error(png, "The PNG file ends inside a chunk");
    memcpy(out, file.bytes + file.position, count);
    file.position += count;
}

// Each row is a filter byte and the row's samples as stored, all deflated.
uint64_t leastDeflatedBytes(png_structp png, png_infop info) {
    uint64_t rawBytes = (1 + png_get_rowbytes(png, info)) * static_cast<uint64_t>(png_get_image_height(png, info));
    return rawBytes / MAX_DEFLATE_EXPANSION;
}

}  // namespace
