// JPEG pictures through libjpeg: colour and greyscale (grey pixels become
// grey red, green, blue). A file libjpeg can't decode fails the load after
// libjpeg's message; it never ends the program. A picture whose file is too
// small for it, whose decoding would need more memory than its file's size
// allows, or that has more scans than any sane encoder writes is refused.
#pragma once

#include "render/images/image_reader.h"

struct jpeg_decompress_struct;

class JpegReader : public ImageReader {
public:
    JpegReader();

private:
    int32_t decode(const uint8_t* bytes, size_t size) override;
    // Makes the rows for the picture whose header has been read; false when
    // its file can't hold it or its decoding would need too much memory.
    bool makeRowsFor(jpeg_decompress_struct& info, size_t fileSize);
    // Reads every scan line into the rows; false when a line can't be had.
    bool readScanLines(jpeg_decompress_struct& info);
};
