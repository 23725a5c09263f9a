// The Thumbnail chunk: the modeller's own picture of the model, written as
// `Thumbnail WIDTH HEIGHT 24 rgb raw {`, then the rows from the top as hex
// digits, two per byte, red, green and blue of each pixel, then `}`.
#include <cctype>

#include "mqo/chunk_readers.h"

namespace {

// The modeller writes 128 by 128; anything far larger is not a thumbnail.
constexpr int32_t MAX_THUMBNAIL_SIDE = 1024;

bool isThumbnailHead(const LineTokenizer& line);
int hexValue(char c);

}  // namespace

// NOTE: the picture is kept only when its digits fill it exactly; rows may
// be cut over lines in any way. A chunk that is not a picture the viewer
// knows is passed over whole, as any unknown chunk.
void readThumbnailChunk(ChunkCursor& cursor, Thumbnail& thumbnail) {
    const LineTokenizer& line = cursor.line();
    if (!isThumbnailHead(line)) {
        cursor.skipChunk();
        return;
    }
    Thumbnail read;
    read.width = line.intAt(1);
    read.height = line.intAt(2);
    const size_t size = static_cast<size_t>(read.width) * static_cast<size_t>(read.height) * 3;
    read.rgb.reserve(size);
    bool fits = true;
    int pending = -1;  // the high half of a byte whose low half is still to come
    for (;;) {
        const std::string_view text = cursor.readChunkText("the Thumbnail chunk");
        size_t first = 0;
        while (first < text.size() && std::isspace(static_cast<unsigned char>(text[first]))) ++first;
        if (first < text.size() && text[first] == '}') break;
        for (size_t i = first; i < text.size() && fits; ++i) {
            const int value = hexValue(text[i]);
            if (value < 0) {
                fits = std::isspace(static_cast<unsigned char>(text[i])) != 0;
            } else if (pending < 0) {
                pending = value;
            } else if (read.rgb.size() < size) {
                read.rgb.push_back(static_cast<uint8_t>(pending << 4 | value));
                pending = -1;
            } else {
                fits = false;
            }
        }
    }
    if (fits && pending < 0 && read.rgb.size() == size) thumbnail = std::move(read);
}

namespace {

bool isThumbnailHead(const LineTokenizer& line) {
    if (line.tokenCount() != 7) return false;
    const int32_t width = line.intAt(1), height = line.intAt(2);
    return width > 0 && width <= MAX_THUMBNAIL_SIDE && height > 0 && height <= MAX_THUMBNAIL_SIDE &&
           line.intAt(3) == 24 && line.tokenIs(4, "rgb") && line.tokenIs(5, "raw");
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace
