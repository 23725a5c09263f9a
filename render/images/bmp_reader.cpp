#include "render/images/bmp_reader.h"

#include <cstdio>
#include <cstdlib>

#include "render/images/byte_source.h"
#include "render/images/stored_rows.h"

namespace {

constexpr size_t BMP_HEADERS_SIZE = 14 + 40;
constexpr uint16_t BMP_SIGNATURE = 'B' | 'M' << 8;
constexpr uint32_t NO_COMPRESSION = 0;

BmpFileHeader readFileHeader(ByteSource& source);
BmpInfoHeader readInfoHeader(ByteSource& source);
bool isSupported(const BmpFileHeader& file, const BmpInfoHeader& info);
bool holdsHalfOfItsPixels(const BmpFileHeader& file, const BmpInfoHeader& info, size_t fileSize);
size_t storedRowBytes(int64_t width, int bitsPerPixel);
void readRows(ByteSource& source, const BmpInfoHeader& info, ImageReader& image);

}  // namespace

BmpReader::BmpReader() : ImageReader("Can't open file\n") {}

int32_t BmpReader::decode(const uint8_t* bytes, size_t size) {
    ByteSource source(bytes, size);
    if (source.remaining() < BMP_HEADERS_SIZE) {
        printf("Can't read bmp file\n");
        return -1;
    }
    fileHeader = readFileHeader(source);
    infoHeader = readInfoHeader(source);
    // A negative height only says the rows are stored top first.
    int64_t rowCount = std::llabs(static_cast<int64_t>(infoHeader.height));
    if (!isSupported(fileHeader, infoHeader) || !holdsHalfOfItsPixels(fileHeader, infoHeader, size) ||
        !makeRgbRows(infoHeader.width, rowCount)) {
        printf("Can't read bmp file\n");
        return -1;
    }
    // Later header versions add fields between the information header and
    // the pixels; the data offset skips them.
    source.seek(fileHeader.dataOffset);
    readRows(source, infoHeader, *this);
    return 0;
}

namespace {

BmpFileHeader readFileHeader(ByteSource& source) {
    BmpFileHeader header;
    header.type = source.get16le();
    // The file size and reserved fields are often wrong in files that
    // display fine elsewhere, so they are not checked.
    header.fileSize = source.get32le();
    header.reserved1 = source.get16le();
    header.reserved2 = source.get16le();
    header.dataOffset = source.get32le();
    return header;
}

BmpInfoHeader readInfoHeader(ByteSource& source) {
    BmpInfoHeader header;
    header.headerSize = source.get32le();
    header.width = static_cast<int32_t>(source.get32le());
    header.height = static_cast<int32_t>(source.get32le());
    header.planes = source.get16le();
    header.bitsPerPixel = source.get16le();
    header.compression = source.get32le();
    // The rest describe printing and palettes: nothing a true colour
    // texture needs.
    header.imageSize = source.get32le();
    header.xPixelsPerMeter = static_cast<int32_t>(source.get32le());
    header.yPixelsPerMeter = static_cast<int32_t>(source.get32le());
    header.coloursUsed = source.get32le();
    header.importantColours = source.get32le();
    return header;
}

bool isSupported(const BmpFileHeader& file, const BmpInfoHeader& info) {
    if (file.type != BMP_SIGNATURE || info.headerSize < 40) return false;
    if (info.bitsPerPixel != 24 && info.bitsPerPixel != 32) return false;
    return info.compression == NO_COMPRESSION;
}

bool holdsHalfOfItsPixels(const BmpFileHeader& file, const BmpInfoHeader& info, size_t fileSize) {
    int64_t rowCount = std::llabs(static_cast<int64_t>(info.height));
    if (!imageSideInRange(info.width) || !imageSideInRange(rowCount)) return false;
    size_t held = file.dataOffset < fileSize ? fileSize - file.dataOffset : 0;
    return holdsHalfOf(held, storedRowBytes(info.width, info.bitsPerPixel) * rowCount);
}

// Every stored row is padded to a multiple of four bytes.
size_t storedRowBytes(int64_t width, int bitsPerPixel) {
    return static_cast<size_t>((width * bitsPerPixel + 31) / 32 * 4);
}

void readRows(ByteSource& source, const BmpInfoHeader& info, ImageReader& image) {
    int bytesPerPixel = info.bitsPerPixel / 8;
    size_t padding = storedRowBytes(image.width, info.bitsPerPixel) - static_cast<size_t>(image.width) * bytesPerPixel;
    bool topFirst = info.height < 0;
    for (int32_t stored = 0; stored < image.height; ++stored) {
        uint8_t* row = image.rgbRows[imageRowOfStoredRow(stored, image.height, topFirst)];
        readBgrRow(source, bytesPerPixel, image.width, row);
        source.skip(padding);
    }
}

}  // namespace
