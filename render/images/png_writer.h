// Writes pictures as PNG files: the viewer's screenshots and the thumbnails
// models carry.
#pragma once

#include <cstdint>

enum class RowOrder { TopFirst, BottomFirst };

// `pixels` holds `height` packed rows of `width` pixels of red, green, blue
// (and alpha when `withAlpha`) bytes, in `order`: OpenGL reads a picture
// back bottom row first. False when the file can't be written.
bool writePngFile(const char* path, int32_t width, int32_t height, const uint8_t* pixels, bool withAlpha,
                  RowOrder order);
