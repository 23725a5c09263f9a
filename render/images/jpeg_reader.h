// JPEG pictures through libjpeg: colour and greyscale (grey pixels become
// grey red, green, blue). A file libjpeg can't decode fails the load with
// libjpeg's message; it never ends the program.
#pragma once

#include "render/images/image_reader.h"

struct jpeg_decompress_struct;

class JpegReader : public ImageReader {
public:
    JpegReader();
    int32_t loadFromMemory(const uint8_t* bytes, size_t size) override;

private:
    // Reads every scan line into the rows; false when a line can't be had.
    bool readScanLines(jpeg_decompress_struct& info);
};
