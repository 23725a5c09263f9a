#include "tools/bundled_model/picture_files.h"

#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

void put16(FileBytes& out, uint32_t value);
void put32(FileBytes& out, uint32_t value);
void putRowsBottomFirst(FileBytes& out, const Picture& picture);

}  // namespace

Picture::Picture(int pictureWidth, int pictureHeight, int pictureChannels)
    : width(pictureWidth),
      height(pictureHeight),
      channels(pictureChannels),
      pixels(static_cast<size_t>(pictureWidth) * pictureHeight * pictureChannels) {}

FileBytes encodeBmp(const Picture& picture) {
    const uint32_t pixelBytes = static_cast<uint32_t>(picture.pixels.size());
    FileBytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + pixelBytes);  // file size
    put32(out, 0);                // two reserved fields
    put32(out, 54);               // pixel data offset
    put32(out, 40);               // information header size
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height));  // positive: bottom row first
    put16(out, 1);                                      // planes
    put16(out, 24);                                     // bits per pixel
    put32(out, 0);                                      // no compression
    put32(out, pixelBytes);
    put32(out, 2835);  // 72 dots per inch, both ways
    put32(out, 2835);
    put32(out, 0);  // colours used
    put32(out, 0);  // important colours
    putRowsBottomFirst(out, picture);
    return out;
}

FileBytes encodeTga(const Picture& picture) {
    FileBytes out;
    out.push_back(0);                              // no image ID
    out.push_back(0);                              // no colour map
    out.push_back(picture.channels == 1 ? 3 : 2);  // grey or true colour
    put16(out, 0);                                 // colour map first index
    put16(out, 0);                                 // colour map length
    out.push_back(0);                              // colour map entry size
    put16(out, 0);                                 // x origin
    put16(out, 0);                                 // y origin
    put16(out, static_cast<uint32_t>(picture.width));
    put16(out, static_cast<uint32_t>(picture.height));
    out.push_back(static_cast<uint8_t>(picture.channels * 8));
    out.push_back(0);  // bottom row first, no alpha bits
    putRowsBottomFirst(out, picture);
    return out;
}

FileBytes encodeJpeg(const Picture& picture, int quality) {
    jpeg_compress_struct compressor;
    jpeg_error_mgr errors;
    compressor.err = jpeg_std_error(&errors);
    jpeg_create_compress(&compressor);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&compressor, &buffer, &size);
    compressor.image_width = static_cast<JDIMENSION>(picture.width);
    compressor.image_height = static_cast<JDIMENSION>(picture.height);
    compressor.input_components = picture.channels;
    compressor.in_color_space = picture.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&compressor);
    jpeg_set_quality(&compressor, quality, TRUE);
    jpeg_start_compress(&compressor, TRUE);
    while (compressor.next_scanline < compressor.image_height) {
        // libjpeg's row type is not const; it only reads the row.
        JSAMPROW row = const_cast<JSAMPROW>(picture.pixels.data() + static_cast<size_t>(compressor.next_scanline) *
                                                                        picture.width * picture.channels);
        jpeg_write_scanlines(&compressor, &row, 1);
    }
    jpeg_finish_compress(&compressor);
    FileBytes out(buffer, buffer + size);
    jpeg_destroy_compress(&compressor);
    free(buffer);
    return out;
}

namespace {

void put16(FileBytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(FileBytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// Both formats store the bottom row first and colours as blue, green, red.
void putRowsBottomFirst(FileBytes& out, const Picture& picture) {
    for (int y = picture.height - 1; y >= 0; --y) {
        const uint8_t* row = &picture.pixels[static_cast<size_t>(y) * picture.width * picture.channels];
        for (int x = 0; x < picture.width; ++x) {
            const uint8_t* pixel = row + x * picture.channels;
            if (picture.channels == 1) {
                out.push_back(pixel[0]);
            } else {
                out.push_back(pixel[2]);
                out.push_back(pixel[1]);
                out.push_back(pixel[0]);
            }
        }
    }
}

}  // namespace
