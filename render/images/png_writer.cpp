#include "render/images/png_writer.h"

#include <png.h>

#include <cstring>

bool writePngFile(const char* path, int32_t width, int32_t height, const uint8_t* pixels, bool withAlpha,
                  RowOrder order) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
    // A negative stride tells libpng that the rows lie bottom first.
    const png_int_32 rowBytes = static_cast<png_int_32>(width * (withAlpha ? 4 : 3));
    const png_int_32 stride = order == RowOrder::BottomFirst ? -rowBytes : rowBytes;
    return png_image_write_to_file(&image, path, 0, pixels, stride, nullptr) != 0;
}
