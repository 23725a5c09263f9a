// Pixel rows as TGA and BMP files store them: blue, green, red (and an unused
// fourth byte at 32 bits), bottom row first unless the header says otherwise.
// Rows past the end of a short file read as 0xFF bytes.
#pragma once

#include <cstdint>
#include <cstring>

#include "render/images/byte_source.h"

// The picture row (row 0 at the top) that the file's `storedRow`-th row is.
inline int32_t imageRowOfStoredRow(int32_t storedRow, int32_t height, bool topFirst) {
    return topFirst ? storedRow : height - 1 - storedRow;
}

// Reads `pixelCount` stored pixels into a red, green, blue row.
inline void readBgrRow(ByteSource& source, int bytesPerPixel, int32_t pixelCount, uint8_t* rgbRow) {
    // Whole rows are copied without a bounds check per byte: a header may
    // ask for 16384 x 16384 pixels with only a few bytes behind it.
    if (const uint8_t* stored = source.take(static_cast<size_t>(pixelCount) * bytesPerPixel)) {
        for (int32_t x = 0; x < pixelCount; ++x, stored += bytesPerPixel) {
            rgbRow[3 * x] = stored[2];
            rgbRow[3 * x + 1] = stored[1];
            rgbRow[3 * x + 2] = stored[0];
        }
    } else if (source.remaining() == 0) {
        memset(rgbRow, 0xFF, static_cast<size_t>(pixelCount) * 3);
    } else {
        for (int32_t x = 0; x < pixelCount; ++x) {
            rgbRow[3 * x + 2] = source.get8();
            rgbRow[3 * x + 1] = source.get8();
            rgbRow[3 * x] = source.get8();
            if (bytesPerPixel == 4) source.get8();
        }
    }
}

// Reads `pixelCount` stored grey pixels into a row.
inline void readGreyRow(ByteSource& source, int32_t pixelCount, uint8_t* greyRow) {
    if (const uint8_t* stored = source.take(static_cast<size_t>(pixelCount)))
        memcpy(greyRow, stored, static_cast<size_t>(pixelCount));
    else if (source.remaining() == 0)
        memset(greyRow, 0xFF, static_cast<size_t>(pixelCount));
    else
        for (int32_t x = 0; x < pixelCount; ++x) greyRow[x] = source.get8();
}
