#include "render/images/image_reader.h"
#include "render/images/image_messages.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "render/images/regular_file.h"

namespace {

// What any picture may cost beside eight times its file's size.
constexpr uint64_t MEMORY_ALLOWANCE_BYTES = 64 << 20;
constexpr uint64_t MEMORY_BYTES_PER_FILE_BYTE = 8;

bool readWholeFile(int descriptor, uint64_t size, std::vector<uint8_t>& bytes);
uint64_t mebibytesRoundedUp(uint64_t bytes);

}  // namespace

ImageReader::ImageReader(const char* openFailureMessage) : openFailureMessage_(openFailureMessage) {}

ImageReader::~ImageReader() = default;

int32_t ImageReader::load(const char* path) {
    uint64_t size = 0;
    int descriptor = openRegularFile(path, size);
    if (descriptor < 0) {
        reportMissingFile();
        return -1;
    }
    snprintf(fileName, sizeof fileName, "%s", path);
    std::vector<uint8_t> bytes;
    bool read = readWholeFile(descriptor, size, bytes);
    close(descriptor);
    // A file that can't be read in full decodes as an empty one, so each
    // reader reports it with its own message.
    if (!read) bytes.clear();
    return loadFromMemory(bytes.data(), bytes.size());
}

void ImageReader::reportMissingFile() const {
    tellImageMessage("%s", openFailureMessage_);
}

int32_t ImageReader::loadFromMemory(const uint8_t* bytes, size_t size) {
    clear();
    fileBytes_ = size;
    return decode(bytes, size);
}

int32_t ImageReader::getPixel(int32_t x, int32_t y, uint8_t out[3]) const {
    if (rgbRows == nullptr || x < 0 || x >= width || y < 0 || y >= height) return 0;
    memcpy(out, rgbRows[y] + 3 * x, 3);
    return 1;
}

void ImageReader::releaseRows() {
    rgbRows = nullptr;
    greyRows = nullptr;
    alphaRows = nullptr;
    rowTable_.reset();
    pixelStore_.reset();
}

bool ImageReader::makeRgbRows(int64_t pixelsPerRow, int64_t rowCount, uint64_t decoderBytes) {
    if (!makeRows(pixelsPerRow, rowCount, 3, false, decoderBytes)) return false;
    rgbRows = rowTable_.get();
    pixelFormat = 1;
    return true;
}

bool ImageReader::makeRgbAlphaRows(int64_t pixelsPerRow, int64_t rowCount, uint64_t decoderBytes) {
    if (!makeRows(pixelsPerRow, rowCount, 3, true, decoderBytes)) return false;
    rgbRows = rowTable_.get();
    alphaRows = rowTable_.get() + rowCount;
    pixelFormat = 1;
    return true;
}

bool ImageReader::makeGreyRows(int64_t pixelsPerRow, int64_t rowCount, uint64_t decoderBytes) {
    if (!makeRows(pixelsPerRow, rowCount, 1, false, decoderBytes)) return false;
    greyRows = rowTable_.get();
    pixelFormat = 2;
    return true;
}

void ImageReader::clear() {
    releaseRows();
    pixelFormat = 0;
    width = 0;
    height = 0;
}

// Alpha rows of a byte per pixel follow the colour rows, in the store and
// in the row table.
bool ImageReader::makeRows(int64_t pixelsPerRow, int64_t rowCount, int bytesPerPixel, bool withAlpha,
                           uint64_t decoderBytes) {
    clear();
    if (!imageSideInRange(pixelsPerRow) || !imageSideInRange(rowCount)) return false;
    // Both sides are at most 16384, so the products fit comfortably.
    size_t rowBytes = static_cast<size_t>(pixelsPerRow) * bytesPerPixel;
    size_t pixelBytes = (rowBytes + (withAlpha ? pixelsPerRow : 0)) * rowCount;
    size_t tableEntries = static_cast<size_t>(rowCount) * (withAlpha ? 2 : 1);
    if (!memoryAllowed(pixelsPerRow, rowCount, pixelBytes + tableEntries * sizeof(uint8_t*) + decoderBytes))
        return false;
    pixelStore_.reset(new (std::nothrow) uint8_t[pixelBytes]);
    rowTable_.reset(new (std::nothrow) uint8_t*[tableEntries]);
    if (pixelStore_ == nullptr || rowTable_ == nullptr) {
        clear();
        return false;
    }
    uint8_t* alphaStore = pixelStore_.get() + rowBytes * rowCount;
    for (int64_t row = 0; row < rowCount; ++row) rowTable_[row] = pixelStore_.get() + row * rowBytes;
    for (int64_t row = 0; withAlpha && row < rowCount; ++row)
        rowTable_[rowCount + row] = alphaStore + row * pixelsPerRow;
    width = static_cast<int32_t>(pixelsPerRow);
    height = static_cast<int32_t>(rowCount);
    return true;
}

// NOTE: no picture may make a reader hold more than 64 MiB plus 8 times the
// size of its file: the file's bytes, the rows and the decoder's own memory
// together. A header can then never make a file of a few bytes cost
// gigabytes, while a real picture of that size comes in a file big enough to
// pay for it.
bool ImageReader::memoryAllowed(int64_t pixelsPerRow, int64_t rowCount, uint64_t bytesNeeded) const {
    uint64_t needed = fileBytes_ + bytesNeeded;
    uint64_t allowed = MEMORY_ALLOWANCE_BYTES + MEMORY_BYTES_PER_FILE_BYTE * fileBytes_;
    if (needed <= allowed) return true;
    tellImageMessage(
        "A picture of %lld x %lld needs %llu MiB of memory, more than its file of %zu bytes allows (%llu MiB)\n",
        static_cast<long long>(pixelsPerRow), static_cast<long long>(rowCount),
        static_cast<unsigned long long>(mebibytesRoundedUp(needed)), fileBytes_,
        static_cast<unsigned long long>(allowed >> 20));
    return false;
}

bool imageSideInRange(int64_t side) {
    return side > 0 && side <= MAX_IMAGE_SIDE;
}

// NOTE: a picture whose file holds less than half of what its header calls
// for is refused before any row is made. For uncompressed pixels that is
// half of the declared pixel bytes: a file merely cut short still loads,
// with 0xFF in its missing bytes. For compressed pixels it is half of the
// fewest bytes the format's best compression could store the picture in.
// Either way a header of a few bytes can't claim a picture of millions of
// pixels and keep the viewer decoding nothing for seconds.
bool holdsHalfOf(uint64_t heldBytes, uint64_t leastBytes) {
    return 2 * heldBytes >= leastBytes;
}

namespace {

bool readWholeFile(int descriptor, uint64_t size, std::vector<uint8_t>& bytes) {
    if (size > MAX_IMAGE_FILE_BYTES) return false;
    bytes.resize(static_cast<size_t>(size));
    return readUpTo(descriptor, bytes.data(), bytes.size()) == bytes.size();
}

uint64_t mebibytesRoundedUp(uint64_t bytes) {
    return (bytes + (1 << 20) - 1) >> 20;
}

}  // namespace
