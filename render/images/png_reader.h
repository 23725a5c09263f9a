// PNG pictures through libpng, for the extended formats: every bit depth
// and colour type, interlaced or not. A grey picture without alpha gives
// grey rows; any other gives colour rows (16-bit samples rounded to 8 bits)
// and, when it has alpha (an alpha channel, or transparent colours named in
// a tRNS chunk), alpha rows beside them. Chunks that don't change the pixels
// (text, gamma, colour profiles) are passed over unread.
#pragma once

#include <memory>

#include "render/images/image_reader.h"

struct png_struct_def;
struct png_info_def;
struct PngFile;

class PngReader : public ImageReader {
public:
    PngReader();

private:
    int32_t decode(const uint8_t* bytes, size_t size) override;
    // Reads the whole picture; false after libpng's message when it fails.
    // `scratch` holds the rows libpng gives with alpha before they are split.
    bool readPicture(png_struct_def* png, png_info_def* info, PngFile& file, std::unique_ptr<uint8_t[]>& scratch);
    // Makes the rows for the picture whose header has been read and sets
    // libpng to give it as 8-bit grey, red, green, blue, or red, green, blue,
    // alpha; false when its file can't hold it or it needs too much memory.
    bool makeRowsFor(png_struct_def* png, png_info_def* info, size_t fileSize, std::unique_ptr<uint8_t[]>& scratch);
    // Reads rows of red, green, blue, alpha through `scratch` (the whole
    // picture when it is interlaced, else one row) into colour and alpha rows.
    void readSplittingAlpha(png_struct_def* png, int passes, uint8_t* scratch);
};
