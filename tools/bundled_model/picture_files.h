// Texture files written from pictures held in memory: 24-bit BMP and
// uncompressed TGA (true colour or grey) byte by byte, both bottom row
// first, and baseline JPEG (colour or grey) through libjpeg.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    int channels = 3;             // 3: red, green, blue; 1: grey
    std::vector<uint8_t> pixels;  // rows from the top, `channels` bytes a pixel

    Picture(int width, int height, int channels);
    uint8_t* at(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * channels]; }
};

using FileBytes = std::vector<uint8_t>;

// Colour pictures only; width * 3 must be a multiple of 4 (rows carry no padding).
FileBytes encodeBmp(const Picture& picture);
// Image type 2 for a colour picture, type 3 for a grey one.
FileBytes encodeTga(const Picture& picture);
FileBytes encodeJpeg(const Picture& picture, int quality);
