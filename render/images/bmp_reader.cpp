#include "render/images/bmp_reader.h"
#include "render/images/image_messages.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "render/images/byte_source.h"
#include "render/images/stored_rows.h"

namespace {

constexpr size_t BMP_HEADERS_SIZE = 14 + 40;
constexpr uint16_t BMP_SIGNATURE = 'B' | 'M' << 8;
constexpr uint32_t NO_COMPRESSION = 0;

// Palette entries as red, green, blue; the 256 entries an 8-bit index can
// name, black past the ones the file gives.
using Palette = std::vector<uint8_t>;

BmpFileHeader readFileHeader(ByteSource& source);
BmpInfoHeader readInfoHeader(ByteSource& source);
bool isSupported(const BmpFileHeader& file, const BmpInfoHeader& info, ImageFormats formats);
bool holdsHalfOfItsPixels(const BmpFileHeader& file, const BmpInfoHeader& info, size_t fileSize);
size_t storedRowBytes(int64_t width, int bitsPerPixel);
Palette readPalette(ByteSource& source, const BmpInfoHeader& info);
void readRows(ByteSource& source, const BmpInfoHeader& info, const Palette& palette, ImageReader& image);
void readPalettedRow(ByteSource& source, int bitsPerPixel, const Palette& palette, size_t storedBytes,
                     int32_t pixelCount, uint8_t* rgbRow);

}  // namespace

BmpReader::BmpReader(ImageFormats formats) : ImageReader("Can't open file\n"), formats_(formats) {}

int32_t BmpReader::decode(const uint8_t* bytes, size_t size) {
    ByteSource source(bytes, size);
    if (source.remaining() < BMP_HEADERS_SIZE) {
        tellImageMessage("Can't read bmp file\n");
        return -1;
    }
    fileHeader = readFileHeader(source);
    infoHeader = readInfoHeader(source);
    // A negative height only says the rows are stored top first.
    int64_t rowCount = std::llabs(static_cast<int64_t>(infoHeader.height));
    if (!isSupported(fileHeader, infoHeader, formats_) || !holdsHalfOfItsPixels(fileHeader, infoHeader, size) ||
        !makeRgbRows(infoHeader.width, rowCount)) {
        tellImageMessage("Can't read bmp file\n");
        return -1;
    }
    Palette palette = infoHeader.bitsPerPixel <= 8 ? readPalette(source, infoHeader) : Palette();
    // Later header versions add fields between the information header and
    // the pixels; the data offset skips them.
    source.seek(fileHeader.dataOffset);
    readRows(source, infoHeader, palette, *this);
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
    // The image size and resolutions describe printing, and important
    // colours only matter to a display of few colours.
    header.imageSize = source.get32le();
    header.xPixelsPerMeter = static_cast<int32_t>(source.get32le());
    header.yPixelsPerMeter = static_cast<int32_t>(source.get32le());
    header.coloursUsed = source.get32le();
    header.importantColours = source.get32le();
    return header;
}

bool isSupported(const BmpFileHeader& file, const BmpInfoHeader& info, ImageFormats formats) {
    if (file.type != BMP_SIGNATURE || info.headerSize < 40 || info.compression != NO_COMPRESSION) return false;
    if (info.bitsPerPixel == 24 || info.bitsPerPixel == 32) return true;
    bool paletted = info.bitsPerPixel == 1 || info.bitsPerPixel == 4 || info.bitsPerPixel == 8;
    return paletted && formats == ImageFormats::Extended;
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

// The palette follows the information header, whatever its version.
// Entries are stored blue, green, red and an unused byte. No colours used
// means as many as the indexes can name.
Palette readPalette(ByteSource& source, const BmpInfoHeader& info) {
    source.seek(14 + static_cast<size_t>(info.headerSize));
    uint32_t nameable = 1u << info.bitsPerPixel;
    uint32_t entries = info.coloursUsed == 0 || info.coloursUsed > nameable ? nameable : info.coloursUsed;
    Palette palette(256 * 3, 0);
    for (uint32_t entry = 0; entry < entries; ++entry) {
        palette[3 * entry + 2] = source.get8();
        palette[3 * entry + 1] = source.get8();
        palette[3 * entry] = source.get8();
        source.get8();
    }
    return palette;
}

void readRows(ByteSource& source, const BmpInfoHeader& info, const Palette& palette, ImageReader& image) {
    int bits = info.bitsPerPixel;
    size_t storedBytes = storedRowBytes(image.width, bits);
    bool topFirst = info.height < 0;
    for (int32_t stored = 0; stored < image.height; ++stored) {
        uint8_t* row = image.rgbRows[imageRowOfStoredRow(stored, image.height, topFirst)];
        if (bits <= 8) {
            readPalettedRow(source, bits, palette, storedBytes, image.width, row);
        } else {
            readBgrRow(source, bits / 8, image.width, row);
            source.skip(storedBytes - static_cast<size_t>(image.width) * (bits / 8));
        }
    }
}

// Indexes are packed from the high bits of each byte down. Bytes past the
// end of a short file read as 0xFF, as in a true colour picture.
void readPalettedRow(ByteSource& source, int bitsPerPixel, const Palette& palette, size_t storedBytes,
                     int32_t pixelCount, uint8_t* rgbRow) {
    const unsigned mask = (1u << bitsPerPixel) - 1;
    const uint8_t* stored = source.take(storedBytes);
    uint8_t byte = 0;
    for (int32_t x = 0; x < pixelCount; ++x) {
        size_t bit = static_cast<size_t>(x) * bitsPerPixel;
        if (bit % 8 == 0) byte = stored != nullptr ? stored[bit / 8] : source.get8();
        unsigned index = byte >> (8 - bitsPerPixel - bit % 8) & mask;
        memcpy(rgbRow + 3 * x, &palette[3 * index], 3);
    }
    if (stored == nullptr) source.skip(storedBytes - (static_cast<size_t>(pixelCount) * bitsPerPixel + 7) / 8);
}

}  // namespace
