// Pixel rows as TGA and BMP files store them: blue, green, red (and an unused
// fourth byte at 32 bits), bottom row first unless the header says otherwise.
#pragma once

#include <cstdint>

#include "render/images/byte_source.h"

// The picture row (row 0 at the top) that the file's `storedRow`-th row is.
inline int32_t imageRowOfStoredRow(int32_t storedRow, int32_t height, bool topFirst) {
    return topFirst ? storedRow : height - 1 - storedRow;
}

// Reads `pixelCount` stored pixels into a red, green, blue row.
inline void readBgrRow(ByteSource& source, int bytesPerPixel, int32_t pixelCount, uint8_t* rgbRow) {
    for (int32_t x = 0; x < pixelCount; ++x) {
        rgbRow[3 * x + 2] = source.get8();
        rgbRow[3 * x + 1] = source.get8();
        rgbRow[3 * x] = source.get8();
        if (bytesPerPixel == 4) source.get8();
    }
}
