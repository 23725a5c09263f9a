#include "tests/render/image_bytes.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <jpeglib.h>

namespace {

void put16(Bytes& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void put32(Bytes& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

Bytes tgaFile(const TgaLayout& layout, const Bytes& pixels) {
    Bytes out;
    out.push_back(static_cast<uint8_t>(layout.imageId.size()));
    out.push_back(layout.colorMapType);
    out.push_back(layout.imageType);
    put16(out, 0);  // colour map first index
    put16(out, 0);  // colour map length
    out.push_back(0);
    put16(out, 0);  // x origin
    put16(out, 0);  // y origin
    put16(out, layout.width);
    put16(out, layout.height);
    out.push_back(layout.pixelDepth);
    out.push_back(layout.descriptor);
    out.insert(out.end(), layout.imageId.begin(), layout.imageId.end());
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes bmpFile(const BmpLayout& layout, const Bytes& pixels) {
    Bytes out;
    uint32_t dataOffset = 14 + layout.infoHeaderSize + layout.gap;
    out.push_back(static_cast<uint8_t>(layout.signature[0]));
    out.push_back(static_cast<uint8_t>(layout.signature[1]));
    put32(out, static_cast<uint32_t>(dataOffset + pixels.size()));
    put32(out, 0);  // two reserved fields
    put32(out, dataOffset);
    put32(out, layout.infoHeaderSize);
    put32(out, static_cast<uint32_t>(layout.width));
    put32(out, static_cast<uint32_t>(layout.height));
    put16(out, 1);
    put16(out, layout.bitsPerPixel);
    put32(out, layout.compression);
    put32(out, static_cast<uint32_t>(pixels.size()));
    put32(out, 2835);  // 72 dots per inch, both ways
    put32(out, 2835);
    put32(out, 0);
    put32(out, 0);
    out.resize(dataOffset, 0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

Bytes bgr(std::initializer_list<Rgb> pixels) {
    Bytes out;
    for (const Rgb& pixel : pixels) out.insert(out.end(), {pixel.b, pixel.g, pixel.r});
    return out;
}

Bytes jpegFile(int32_t width, int32_t height, bool grey, const Bytes& samples) {
    jpeg_compress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = grey ? 1 : 3;
    info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 100, TRUE);
    jpeg_start_compress(&info, TRUE);
    size_t rowBytes = static_cast<size_t>(width) * info.input_components;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uint8_t*>(samples.data()) + info.next_scanline * rowBytes;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

void writeFile(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}
