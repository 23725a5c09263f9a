#include "render/images/image_reader.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

namespace {

// No accepted picture needs a bigger file: the largest one, 32 bits per pixel,
// plus generous room for headers, an ID field and row padding.
constexpr long MAX_IMAGE_FILE_BYTES = static_cast<long>(MAX_IMAGE_SIDE) * MAX_IMAGE_SIDE * 4 + (1L << 20);

bool readWholeFile(FILE* file, std::vector<uint8_t>& bytes);

}  // namespace

ImageReader::ImageReader(const char* openFailureMessage) : openFailureMessage_(openFailureMessage) {}

ImageReader::~ImageReader() = default;

int32_t ImageReader::load(const char* path) {
    FILE* file = fopen(path, "rb");
    if (file == nullptr) {
        printf("%s", openFailureMessage_);
        return -1;
    }
    snprintf(fileName, sizeof fileName, "%s", path);
    std::vector<uint8_t> bytes;
    bool read = readWholeFile(file, bytes);
    fclose(file);
    // A file that can't be read in full decodes as an empty one, so each
    // reader reports it with its own message.
    if (!read) bytes.clear();
    return loadFromMemory(bytes.data(), bytes.size());
}

int32_t ImageReader::getPixel(int32_t x, int32_t y, uint8_t out[3]) const {
    if (rgbRows == nullptr || x < 0 || x >= width || y < 0 || y >= height) return 0;
    memcpy(out, rgbRows[y] + 3 * x, 3);
    return 1;
}

bool ImageReader::makeRgbRows(int64_t pixelsPerRow, int64_t rowCount) {
    if (!makeRows(pixelsPerRow, rowCount, 3)) return false;
    rgbRows = rowTable_.get();
    pixelFormat = 1;
    return true;
}

bool ImageReader::makeGreyRows(int64_t pixelsPerRow, int64_t rowCount) {
    if (!makeRows(pixelsPerRow, rowCount, 1)) return false;
    greyRows = rowTable_.get();
    pixelFormat = 2;
    return true;
}

void ImageReader::releaseRows() {
    rgbRows = nullptr;
    greyRows = nullptr;
    rowTable_.reset();
    pixelStore_.reset();
    pixelFormat = 0;
    width = 0;
    height = 0;
}

bool ImageReader::makeRows(int64_t pixelsPerRow, int64_t rowCount, int bytesPerPixel) {
    releaseRows();
    if (!imageSideInRange(pixelsPerRow) || !imageSideInRange(rowCount)) return false;
    // Both sides are at most 16384, so the product fits comfortably.
    size_t rowBytes = static_cast<size_t>(pixelsPerRow) * bytesPerPixel;
    pixelStore_.reset(new (std::nothrow) uint8_t[rowBytes * rowCount]);
    rowTable_.reset(new (std::nothrow) uint8_t*[rowCount]);
    if (pixelStore_ == nullptr || rowTable_ == nullptr) {
        releaseRows();
        return false;
    }
    for (int64_t row = 0; row < rowCount; ++row) rowTable_[row] = pixelStore_.get() + row * rowBytes;
    width = static_cast<int32_t>(pixelsPerRow);
    height = static_cast<int32_t>(rowCount);
    return true;
}

bool imageSideInRange(int64_t side) {
    return side > 0 && side <= MAX_IMAGE_SIDE;
}

namespace {

bool readWholeFile(FILE* file, std::vector<uint8_t>& bytes) {
    if (fseek(file, 0, SEEK_END) != 0) return false;
    long size = ftell(file);
    if (size < 0 || size > MAX_IMAGE_FILE_BYTES || fseek(file, 0, SEEK_SET) != 0) return false;
    bytes.resize(static_cast<size_t>(size));
    return fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

}  // namespace
