#include "render/images/dds_reader.h"
#include "render/images/image_messages.h"

#include <algorithm>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "render/images/byte_source.h"
#include "render/images/dds_blocks.h"

namespace {

constexpr const char* READ_FAILURE_MESSAGE = "Can't read dds file\n";

constexpr uint32_t fourCharacterCode(const char (&code)[5]) {
    return static_cast<uint8_t>(code[0]) | static_cast<uint8_t>(code[1]) << 8 | static_cast<uint8_t>(code[2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(code[3])) << 24;
}

constexpr uint32_t DDS_SIGNATURE = fourCharacterCode("DDS ");
constexpr uint32_t HEADER_SIZE = 124;
constexpr uint32_t PIXEL_FORMAT_SIZE = 32;
constexpr size_t SIGNATURE_AND_HEADER_SIZE = 4 + HEADER_SIZE;
constexpr size_t EXTENDED_HEADER_SIZE = 20;

// Pixel format flags.
constexpr uint32_t HAS_ALPHA = 0x1;
constexpr uint32_t HAS_FOUR_CC = 0x4;
constexpr uint32_t IS_RGB = 0x40;
constexpr uint32_t IS_LUMINANCE = 0x20000;
// Flags of the second capabilities field.
constexpr uint32_t IS_CUBE_MAP = 0x200;
constexpr uint32_t IS_VOLUME = 0x200000;
// The extended header's resource dimensions and flags.
constexpr uint32_t DIMENSION_1D = 2;
constexpr uint32_t DIMENSION_2D = 3;
constexpr uint32_t DIMENSION_3D = 4;
constexpr uint32_t IS_CUBE_TEXTURE = 0x4;
constexpr uint32_t ALPHA_MODE_MASK = 0x7;
constexpr uint32_t ALPHA_MODE_PREMULTIPLIED = 2;

struct DdsHeader {
    uint32_t size = 0;
    uint32_t height = 0;
    uint32_t width = 0;
    uint32_t formatSize = 0;
    uint32_t formatFlags = 0;
    uint32_t fourCc = 0;
    uint32_t bitsPerPixel = 0;
    uint32_t masks[4] = {};  // red (or luminance), green, blue, alpha
    uint32_t caps2 = 0;
    // From the extended header, when the four-character code is "DX10".
    bool extended = false;
    uint32_t extendedFormat = 0;
    uint32_t dimension = DIMENSION_2D;
    uint32_t miscFlags = 0;
    uint32_t arraySize = 1;
    uint32_t alphaMode = 0;
};

// Where an uncompressed channel sits in a stored pixel.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
};

// How the top level's pixels are stored.
struct PixelLayout {
    bool compressed = false;
    BlockFormat blocks = BlockFormat::Dxt1;
    // Uncompressed pixels only: bytes a pixel, and the red (or luminance),
    // green, blue and alpha channels.
    int bytesPerPixel = 0;
    Channel channels[4];
    bool luminance = false;
    bool alpha = false;
};

[[gnu::format(printf, 1, 2)]] bool refuse(const char* format, ...);
int32_t refused();
bool readHeader(ByteSource& source, DdsHeader& header);
bool isFlatPicture(const DdsHeader& header);
bool readPixelLayout(const DdsHeader& header, PixelLayout& layout);
bool readExtendedFormat(const DdsHeader& header, PixelLayout& layout);
bool readFourCcFormat(const DdsHeader& header, PixelLayout& layout);
bool readMaskedFormat(const DdsHeader& header, PixelLayout& layout);
bool channelFits(uint32_t mask, uint32_t bitsPerPixel, Channel& channel);
const uint8_t* takeTopLevel(ByteSource& source, const DdsHeader& header, const PixelLayout& layout);
template <typename UseBlock>
void forEachBlock(const uint8_t* level, BlockFormat format, int32_t width, int32_t height, UseBlock useBlock);
bool anyBlockCutsOut(const uint8_t* level, int32_t width, int32_t height);
void readBlocks(const uint8_t* level, BlockFormat format, ImageReader& image);
void readMaskedPixels(const uint8_t* level, const PixelLayout& layout, ImageReader& image);
uint8_t channelOf(uint32_t stored, const Channel& channel);

}  // namespace

DdsReader::DdsReader() : ImageReader("Can't open file\n") {}

int32_t DdsReader::decode(const uint8_t* bytes, size_t size) {
    ByteSource source(bytes, size);
    DdsHeader header;
    PixelLayout layout;
    if (!readHeader(source, header) || !isFlatPicture(header) || !readPixelLayout(header, layout)) return refused();
    const uint8_t* level = takeTopLevel(source, header, layout);
    if (level == nullptr) return refused();
    // A DXT1 picture has alpha only when some pixel of it is cut out.
    int64_t pixelsPerRow = header.width, rowCount = header.height;
    if (layout.compressed && layout.blocks == BlockFormat::Dxt1)
        layout.alpha = anyBlockCutsOut(level, header.width, header.height);
    bool made = layout.alpha       ? makeRgbAlphaRows(pixelsPerRow, rowCount, 0)
                : layout.luminance ? makeGreyRows(pixelsPerRow, rowCount)
                                   : makeRgbRows(pixelsPerRow, rowCount);
    if (!made) return refused();
    if (layout.compressed)
        readBlocks(level, layout.blocks, *this);
    else
        readMaskedPixels(level, layout, *this);
    return 0;
}

namespace {

// Says why the file is refused; false, for the check to return.
bool refuse(const char* format, ...) {
    char why[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(why, sizeof why, format, arguments);
    va_end(arguments);
    tellImageMessage("The DDS file %s\n", why);
    return false;
}

int32_t refused() {
    tellImageMessage("%s", READ_FAILURE_MESSAGE);
    return -1;
}

bool readHeader(ByteSource& source, DdsHeader& header) {
    if (source.remaining() < SIGNATURE_AND_HEADER_SIZE) return refuse("is shorter than its header");
    if (source.get32le() != DDS_SIGNATURE) return refuse("does not start with \"DDS \"");
    header.size = source.get32le();
    // Writers leave out flags that every file needs, so they tell nothing.
    source.skip(4);
    header.height = source.get32le();
    header.width = source.get32le();
    // The pitch or level size, the depth of a volume, the count of smaller
    // levels and eleven reserved fields: the sides and the pixel format
    // tell all the top level needs, and writers fill the pitch each their
    // own way.
    source.skip(4 + 4 + 4 + 11 * 4);
    header.formatSize = source.get32le();
    header.formatFlags = source.get32le();
    header.fourCc = source.get32le();
    header.bitsPerPixel = source.get32le();
    for (uint32_t& mask : header.masks) mask = source.get32le();
    // The first capabilities only say "texture", "has smaller levels" and
    // "complex"; the third, fourth and last fields are unused.
    source.skip(4);
    header.caps2 = source.get32le();
    source.skip(4 + 4 + 4);
    if (header.size != HEADER_SIZE) return refuse("has a header size of %u, not %u", header.size, HEADER_SIZE);
    if (header.formatSize != PIXEL_FORMAT_SIZE)
        return refuse("has a pixel format size of %u, not %u", header.formatSize, PIXEL_FORMAT_SIZE);
    header.extended = (header.formatFlags & HAS_FOUR_CC) != 0 && header.fourCc == fourCharacterCode("DX10");
    if (!header.extended) return true;
    if (source.remaining() < EXTENDED_HEADER_SIZE) return refuse("is shorter than its extended header");
    header.extendedFormat = source.get32le();
    header.dimension = source.get32le();
    header.miscFlags = source.get32le();
    header.arraySize = source.get32le();
    header.alphaMode = source.get32le() & ALPHA_MODE_MASK;
    return true;
}

bool isFlatPicture(const DdsHeader& header) {
    if ((header.caps2 & IS_CUBE_MAP) != 0 || (header.miscFlags & IS_CUBE_TEXTURE) != 0)
        return refuse("is a cube map: cube maps are not supported");
    if ((header.caps2 & IS_VOLUME) != 0 || header.dimension == DIMENSION_3D)
        return refuse("is a volume texture: volume textures are not supported");
    if (header.dimension != DIMENSION_1D && header.dimension != DIMENSION_2D)
        return refuse("has resource dimension %u, not a texture's", header.dimension);
    if (header.arraySize != 1)
        return refuse("is an array of %u textures: texture arrays are not supported", header.arraySize);
    if (!imageSideInRange(header.width) || !imageSideInRange(header.height))
        return refuse("has sides of %u x %u: each must be 1 to %d", header.width, header.height, MAX_IMAGE_SIDE);
    return true;
}

bool readPixelLayout(const DdsHeader& header, PixelLayout& layout) {
    if (header.extended) return readExtendedFormat(header, layout);
    if ((header.formatFlags & HAS_FOUR_CC) != 0) return readFourCcFormat(header, layout);
    if ((header.formatFlags & (IS_RGB | IS_LUMINANCE)) != 0) return readMaskedFormat(header, layout);
    return refuse("has pixel format flags 0x%X, which are not supported", header.formatFlags);
}

// The extended header's BC1, BC2 and BC3 formats, typeless, plain or sRGB
// alike: the texture shows the stored values as they are.
bool readExtendedFormat(const DdsHeader& header, PixelLayout& layout) {
    constexpr uint32_t FIRST_BC1 = 70, LAST_BC3 = 78;
    if (header.extendedFormat < FIRST_BC1 || header.extendedFormat > LAST_BC3)
        return refuse("has extended pixel format %u, which is not supported (only BC1, BC2 and BC3 are)",
                      header.extendedFormat);
    // NOTE: premultiplied colours would show dark wherever alpha cuts in.
    if (header.alphaMode == ALPHA_MODE_PREMULTIPLIED) return refuse("has premultiplied alpha, which is not supported");
    const BlockFormat formats[] = {BlockFormat::Dxt1, BlockFormat::Dxt3, BlockFormat::Dxt5};
    layout.compressed = true;
    layout.blocks = formats[(header.extendedFormat - FIRST_BC1) / 3];
    layout.alpha = layout.blocks != BlockFormat::Dxt1;
    return true;
}

// DXT2 and DXT4, premultiplied DXT3 and DXT5, are refused with the other
// codes.
bool readFourCcFormat(const DdsHeader& header, PixelLayout& layout) {
    layout.compressed = true;
    layout.alpha = true;
    if (header.fourCc == fourCharacterCode("DXT1")) {
        layout.blocks = BlockFormat::Dxt1;
        layout.alpha = false;
    } else if (header.fourCc == fourCharacterCode("DXT3")) {
        layout.blocks = BlockFormat::Dxt3;
    } else if (header.fourCc == fourCharacterCode("DXT5")) {
        layout.blocks = BlockFormat::Dxt5;
    } else {
        char code[4];
        for (int i = 0; i < 4; ++i) code[i] = static_cast<char>(header.fourCc >> 8 * i);
        bool printable = std::all_of(code, code + 4, [](char c) { return c >= ' ' && c <= '~'; });
        if (printable) return refuse("has pixel format \"%.4s\", which is not supported", code);
        return refuse("has pixel format code %u, which is not supported", header.fourCc);
    }
    return true;
}

// Luminance sits in the red mask. Alpha counts only where the flag says the
// alpha mask is meant: X8R8G8B8 writers often leave one in.
bool readMaskedFormat(const DdsHeader& header, PixelLayout& layout) {
    uint32_t bits = header.bitsPerPixel;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return refuse("has %u bits a pixel, which is not supported", bits);
    layout.bytesPerPixel = static_cast<int>(bits / 8);
    layout.luminance = (header.formatFlags & IS_RGB) == 0;
    layout.alpha = (header.formatFlags & HAS_ALPHA) != 0 && header.masks[3] != 0;
    bool fits = true, anyColour = false;
    for (int c = 0; c < 4; ++c) {
        bool used = c == 0 || (c < 3 && !layout.luminance) || (c == 3 && layout.alpha);
        if (used) fits = fits && channelFits(header.masks[c], bits, layout.channels[c]);
        if (c < 3 && used) anyColour = anyColour || header.masks[c] != 0;
    }
    if (!fits || !anyColour) return refuse("has bit masks that don't describe its %u-bit pixels", bits);
    return true;
}

// A mask fits when its bits are one run inside the pixel's bits; no bits
// at all make the channel 0.
bool channelFits(uint32_t mask, uint32_t bitsPerPixel, Channel& channel) {
    channel.mask = mask;
    channel.shift = mask != 0 ? std::countr_zero(mask) : 0;
    channel.bits = std::popcount(mask);
    uint32_t run = mask >> channel.shift;
    bool inside = bitsPerPixel == 32 || mask >> bitsPerPixel == 0;
    return inside && (run & (run + 1)) == 0;
}

// The top level's pixels, or null after saying so when the file ends inside
// them. Uncompressed rows are not padded: each takes the bytes of its
// pixels and no more.
const uint8_t* takeTopLevel(ByteSource& source, const DdsHeader& header, const PixelLayout& layout) {
    uint64_t width = header.width, height = header.height;
    uint64_t needed = layout.compressed ? (width + BLOCK_SIDE - 1) / BLOCK_SIDE *
                                              ((height + BLOCK_SIDE - 1) / BLOCK_SIDE) * bytesPerBlock(layout.blocks)
                                        : width * height * layout.bytesPerPixel;
    if (const uint8_t* level = source.take(needed)) return level;
    refuse("ends inside its top level: it holds %zu of the %llu bytes of pixels its header calls for",
           source.remaining(), static_cast<unsigned long long>(needed));
    return nullptr;
}

// Calls `useBlock(block, left, top, columns, rows)` for each block of the
// level, with the part of it inside the picture: blocks at the right and
// bottom edges of a picture whose sides aren't multiples of 4 stick out.
template <typename UseBlock>
void forEachBlock(const uint8_t* level, BlockFormat format, int32_t width, int32_t height, UseBlock useBlock) {
    const size_t blockBytes = bytesPerBlock(format);
    for (int32_t top = 0; top < height; top += BLOCK_SIDE)
        for (int32_t left = 0; left < width; left += BLOCK_SIDE, level += blockBytes)
            useBlock(level, left, top, std::min(BLOCK_SIDE, width - left), std::min(BLOCK_SIDE, height - top));
}

bool anyBlockCutsOut(const uint8_t* level, int32_t width, int32_t height) {
    bool cutsOut = false;
    forEachBlock(level, BlockFormat::Dxt1, width, height,
                 [&](const uint8_t* block, int32_t, int32_t, int32_t columns, int32_t rows) {
                     cutsOut = cutsOut || dxt1BlockCutsOut(block, columns, rows);
                 });
    return cutsOut;
}

void readBlocks(const uint8_t* level, BlockFormat format, ImageReader& image) {
    forEachBlock(level, format, image.width, image.height,
                 [&](const uint8_t* block, int32_t left, int32_t top, int32_t columns, int32_t rows) {
                     uint8_t rgba[16][4];
                     decodeBlock(format, block, rgba);
                     for (int32_t y = 0; y < rows; ++y) {
                         for (int32_t x = 0; x < columns; ++x) {
                             const uint8_t* pixel = rgba[BLOCK_SIDE * y + x];
                             memcpy(image.rgbRows[top + y] + 3 * (left + x), pixel, 3);
                             if (image.alphaRows != nullptr) image.alphaRows[top + y][left + x] = pixel[3];
                         }
                     }
                 });
}

// Stored pixels are little-endian, top row first.
void readMaskedPixels(const uint8_t* level, const PixelLayout& layout, ImageReader& image) {
    const Channel* channels = layout.channels;
    for (int32_t y = 0; y < image.height; ++y) {
        for (int32_t x = 0; x < image.width; ++x, level += layout.bytesPerPixel) {
            uint32_t stored = 0;
            for (int i = 0; i < layout.bytesPerPixel; ++i) stored |= static_cast<uint32_t>(level[i]) << 8 * i;
            if (image.greyRows != nullptr) {
                image.greyRows[y][x] = channelOf(stored, channels[0]);
                continue;
            }
            uint8_t* rgb = image.rgbRows[y] + 3 * x;
            for (int c = 0; c < 3; ++c) rgb[c] = channelOf(stored, channels[layout.luminance ? 0 : c]);
            if (image.alphaRows != nullptr) image.alphaRows[y][x] = channelOf(stored, channels[3]);
        }
    }
}

// A channel of fewer than 8 bits is widened by repeating its bits below
// themselves, as the TGA reader widens its 5-bit channels; a wider one keeps
// its top 8 bits.
uint8_t channelOf(uint32_t stored, const Channel& channel) {
    if (channel.bits == 0) return 0;
    uint32_t value = (stored & channel.mask) >> channel.shift;
    if (channel.bits >= 8) return static_cast<uint8_t>(value >> (channel.bits - 8));
    uint32_t widened = 0;
    int filled = 0;
    for (; filled < 8; filled += channel.bits) widened = widened << channel.bits | value;
    return static_cast<uint8_t>(widened >> (filled - 8));
}

}  // namespace
