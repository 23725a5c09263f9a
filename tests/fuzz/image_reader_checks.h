// Runs one image reader over any bytes and holds it to its promises: a
// picture with rows of the size it states, or -1 and nothing held.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "render/images/image_reader.h"

inline int loadAndCheck(ImageReader&& reader, const uint8_t* bytes, size_t size) {
    int32_t result = reader.loadFromMemory(bytes, size);
    bool holdsRows = reader.rgbRows != nullptr || reader.greyRows != nullptr || reader.alphaRows != nullptr;
    if (result == -1) {
        if (holdsRows || reader.pixelFormat != 0) abort();
        return 0;
    }
    if (!imageSideInRange(reader.width) || !imageSideInRange(reader.height)) abort();
    bool colour = reader.pixelFormat == 1 && reader.rgbRows != nullptr && reader.greyRows == nullptr;
    bool grey = reader.pixelFormat == 2 && reader.greyRows != nullptr && reader.rgbRows == nullptr;
    if ((!colour && !grey) || (grey && reader.alphaRows != nullptr)) abort();
    // The last byte of the last row must be there for the texture builder.
    int32_t last = reader.height - 1;
    volatile uint8_t sink =
        colour ? reader.rgbRows[last][3 * reader.width - 1] : reader.greyRows[last][reader.width - 1];
    if (reader.alphaRows != nullptr) sink = reader.alphaRows[last][reader.width - 1];
    (void)sink;
    return 0;
}
