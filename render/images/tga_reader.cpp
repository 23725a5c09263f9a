#include "render/images/tga_reader.h"
#include "render/images/image_messages.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "render/images/byte_source.h"
#include "render/images/stored_rows.h"

namespace {

constexpr size_t TGA_HEADER_SIZE = 18;
constexpr uint8_t TYPE_COLOUR_MAPPED = 1;
constexpr uint8_t TYPE_TRUE_COLOR = 2;
constexpr uint8_t TYPE_GREYSCALE = 3;
// Types 9, 10 and 11 are types 1, 2 and 3 run-length encoded.
constexpr uint8_t RUN_LENGTH_ENCODED = 8;
// Image descriptor bit 5: the first stored row is the top one.
constexpr uint8_t ORIGIN_AT_TOP = 0x20;
// A run-length packet is a count byte and one or more pixels; it covers
// at most 128 pixels.
constexpr uint64_t MAX_PACKET_PIXELS = 128;

// How stored pixels become the picture's bytes.
struct PixelLayout {
    uint8_t baseType = 0;  // 1 colour-mapped, 2 true colour, 3 greyscale
    bool runLengthEncoded = false;
    int storedBytes = 0;   // per stored pixel or index
    int pictureBytes = 0;  // 3 for red, green, blue; 1 for grey
    uint16_t firstIndex = 0;
    std::vector<uint8_t> colourMap;  // red, green, blue per entry
};

// The stored pixels one after another, across rows and packets alike.
class PixelStream {
public:
    PixelStream(ByteSource& source, const PixelLayout& layout) : source_(source), layout_(layout) {}
    void next(uint8_t* out);

private:
    void readPixel(uint8_t* out);

    ByteSource& source_;
    const PixelLayout& layout_;
    unsigned packetPixelsLeft_ = 0;
    bool repeating_ = false;
    uint8_t repeated_[3] = {};
};

TgaHeader readHeader(ByteSource& source);
bool isSupported(const TgaHeader& header, ImageFormats formats);
bool isColourDepth(int bits);
int bytesOfDepth(int bits);
PixelLayout readLayout(ByteSource& source, const TgaHeader& header);
uint64_t leastPixelBytes(const TgaHeader& header, const PixelLayout& layout);
bool copiesStoredRows(const PixelLayout& layout);
void readStoredRows(ByteSource& source, const PixelLayout& layout, bool topFirst, ImageReader& image);
void readPixelByPixel(ByteSource& source, const PixelLayout& layout, bool topFirst, ImageReader& image);
void colourOfStored(const uint8_t* stored, int storedBytes, uint8_t rgb[3]);

}  // namespace

TgaReader::TgaReader(ImageFormats formats) : ImageReader("Can't open file\n"), formats_(formats) {}

int32_t TgaReader::decode(const uint8_t* bytes, size_t size) {
    ByteSource source(bytes, size);
    if (source.remaining() < TGA_HEADER_SIZE) {
        tellImageMessage("Can't read tga file\n");
        return -1;
    }
    header = readHeader(source);
    if (!isSupported(header, formats_)) {
        tellImageMessage("Can't read tga file\n");
        return -1;
    }
    // The image ID field is free text from the writing program.
    source.skip(header.idLength);
    PixelLayout layout = readLayout(source, header);
    bool grey = layout.baseType == TYPE_GREYSCALE;
    bool made = holdsHalfOf(source.remaining(), leastPixelBytes(header, layout)) &&
                (grey ? makeGreyRows(header.width, header.height) : makeRgbRows(header.width, header.height));
    if (!made) {
        tellImageMessage("Can't read tga file\n");
        return -1;
    }
    bool topFirst = (header.imageDescriptor & ORIGIN_AT_TOP) != 0;
    if (copiesStoredRows(layout))
        readStoredRows(source, layout, topFirst, *this);
    else
        readPixelByPixel(source, layout, topFirst, *this);
    return 0;
}

namespace {

void PixelStream::next(uint8_t* out) {
    if (!layout_.runLengthEncoded) return readPixel(out);
    // NOTE: a packet may run on from one row into the next.
    if (packetPixelsLeft_ == 0) {
        uint8_t count = source_.get8();
        packetPixelsLeft_ = (count & 0x7F) + 1u;
        repeating_ = (count & 0x80) != 0;
        if (repeating_) readPixel(repeated_);
    }
    --packetPixelsLeft_;
    if (repeating_)
        memcpy(out, repeated_, layout_.pictureBytes);
    else
        readPixel(out);
}

// An index outside the colour map gives black.
void PixelStream::readPixel(uint8_t* out) {
    uint8_t stored[4];
    for (int i = 0; i < layout_.storedBytes; ++i) stored[i] = source_.get8();
    if (layout_.baseType == TYPE_GREYSCALE) {
        out[0] = stored[0];
    } else if (layout_.baseType == TYPE_TRUE_COLOR) {
        colourOfStored(stored, layout_.storedBytes, out);
    } else {
        int index = layout_.storedBytes == 2 ? stored[0] | stored[1] << 8 : stored[0];
        size_t entry = static_cast<size_t>(index - layout_.firstIndex);
        if (index >= layout_.firstIndex && 3 * entry < layout_.colourMap.size())
            memcpy(out, &layout_.colourMap[3 * entry], 3);
        else
            memset(out, 0, 3);
    }
}

TgaHeader readHeader(ByteSource& source) {
    TgaHeader header;
    header.idLength = source.get8();
    header.colourMapType = source.get8();
    header.imageType = source.get8();
    header.colourMapFirstIndex = source.get16le();
    header.colourMapLength = source.get16le();
    header.colourMapEntrySize = source.get8();
    // The origin is where the writer would place the picture on a screen;
    // it doesn't change the pixels.
    header.xOrigin = source.get16le();
    header.yOrigin = source.get16le();
    header.width = source.get16le();
    header.height = source.get16le();
    header.pixelDepth = source.get8();
    // Bits 0-3 (alpha bits) and bit 4 (right-to-left storage) are ignored:
    // alpha bytes are dropped, and the rare right-to-left file is read with
    // its columns as stored.
    header.imageDescriptor = source.get8();
    return header;
}

bool isSupported(const TgaHeader& header, ImageFormats formats) {
    if (formats == ImageFormats::Classic) {
        if (header.colourMapType != 0) return false;
        if (header.imageType == TYPE_TRUE_COLOR) return header.pixelDepth == 24 || header.pixelDepth == 32;
        if (header.imageType == TYPE_GREYSCALE) return header.pixelDepth == 8;
        return false;
    }
    // A true colour or grey picture may carry a colour map it doesn't use.
    if (header.colourMapType > 1) return false;
    switch (header.imageType) {
    case TYPE_COLOUR_MAPPED:
    case TYPE_COLOUR_MAPPED + RUN_LENGTH_ENCODED:
        return header.colourMapType == 1 && (header.pixelDepth == 8 || header.pixelDepth == 16) &&
               isColourDepth(header.colourMapEntrySize);
    case TYPE_TRUE_COLOR:
    case TYPE_TRUE_COLOR + RUN_LENGTH_ENCODED: return isColourDepth(header.pixelDepth);
    case TYPE_GREYSCALE:
    case TYPE_GREYSCALE + RUN_LENGTH_ENCODED: return header.pixelDepth == 8;
    default: return false;
    }
}

bool isColourDepth(int bits) {
    return bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

int bytesOfDepth(int bits) {
    return (bits + 7) / 8;
}

// Reads the colour map, which comes after the image ID, as red, green, blue.
PixelLayout readLayout(ByteSource& source, const TgaHeader& header) {
    PixelLayout layout;
    layout.runLengthEncoded = header.imageType > RUN_LENGTH_ENCODED;
    layout.baseType = layout.runLengthEncoded ? header.imageType - RUN_LENGTH_ENCODED : header.imageType;
    layout.storedBytes = bytesOfDepth(header.pixelDepth);
    layout.pictureBytes = layout.baseType == TYPE_GREYSCALE ? 1 : 3;
    layout.firstIndex = header.colourMapFirstIndex;
    if (header.colourMapType == 0) return layout;
    int entryBytes = bytesOfDepth(header.colourMapEntrySize);
    if (layout.baseType != TYPE_COLOUR_MAPPED) {
        source.skip(static_cast<size_t>(header.colourMapLength) * entryBytes);
        return layout;
    }
    layout.colourMap.resize(header.colourMapLength * 3u);
    for (size_t entry = 0; entry < header.colourMapLength; ++entry) {
        uint8_t stored[4];
        for (int i = 0; i < entryBytes; ++i) stored[i] = source.get8();
        colourOfStored(stored, entryBytes, &layout.colourMap[3 * entry]);
    }
    return layout;
}

// The fewest bytes the header's picture can be stored in.
uint64_t leastPixelBytes(const TgaHeader& header, const PixelLayout& layout) {
    uint64_t pixels = static_cast<uint64_t>(header.width) * header.height;
    if (!layout.runLengthEncoded) return pixels * layout.storedBytes;
    uint64_t packets = (pixels + MAX_PACKET_PIXELS - 1) / MAX_PACKET_PIXELS;
    return packets * (1 + layout.storedBytes);
}

// Uncompressed grey and 24- or 32-bit colour rows are copied whole.
bool copiesStoredRows(const PixelLayout& layout) {
    if (layout.runLengthEncoded) return false;
    return layout.baseType == TYPE_GREYSCALE || (layout.baseType == TYPE_TRUE_COLOR && layout.storedBytes >= 3);
}

void readStoredRows(ByteSource& source, const PixelLayout& layout, bool topFirst, ImageReader& image) {
    for (int32_t stored = 0; stored < image.height; ++stored) {
        int32_t row = imageRowOfStoredRow(stored, image.height, topFirst);
        if (layout.baseType == TYPE_GREYSCALE)
            readGreyRow(source, image.width, image.greyRows[row]);
        else
            readBgrRow(source, layout.storedBytes, image.width, image.rgbRows[row]);
    }
}

void readPixelByPixel(ByteSource& source, const PixelLayout& layout, bool topFirst, ImageReader& image) {
    PixelStream pixels(source, layout);
    uint8_t** rows = layout.baseType == TYPE_GREYSCALE ? image.greyRows : image.rgbRows;
    for (int32_t stored = 0; stored < image.height; ++stored) {
        uint8_t* row = rows[imageRowOfStoredRow(stored, image.height, topFirst)];
        for (int32_t x = 0; x < image.width; ++x) pixels.next(row + x * layout.pictureBytes);
    }
}

// Colours are stored blue, green, red (and an unused byte), or in 15 and 16
// bits as five bits each of red, green and blue, little-endian, the top bit
// unused.
void colourOfStored(const uint8_t* stored, int storedBytes, uint8_t rgb[3]) {
    if (storedBytes >= 3) {
        rgb[0] = stored[2];
        rgb[1] = stored[1];
        rgb[2] = stored[0];
        return;
    }
    unsigned packed = stored[0] | stored[1] << 8;
    for (int channel = 0; channel < 3; ++channel) {
        unsigned five = packed >> (10 - 5 * channel) & 0x1F;
        rgb[channel] = static_cast<uint8_t>(five << 3 | five >> 2);
    }
}

}  // namespace
