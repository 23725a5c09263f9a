#include "render/images/jpeg_reader.h"

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>

namespace {

// Working memory libjpeg may take for one picture. Only progressive files
// keep whole-image buffers; a hostile header can't make it claim more.
constexpr long JPEG_DECODER_MEMORY_LIMIT = 256L << 20;

// libjpeg reports a fatal error by calling `error_exit`, which must not
// return. It jumps back into the load that is running instead of ending the
// program.
struct JpegErrorTrap {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is ours too
    jmp_buf escape;
};

void printJpegMessage(j_common_ptr info);
[[noreturn]] void escapeFromDecoding(j_common_ptr info);
bool startDecoding(jpeg_decompress_struct& info, const uint8_t* bytes, size_t size);
}  // namespace

JpegReader::JpegReader() : ImageReader("Can't open jpeg file.\n") {}

// NOTE: nothing with a destructor may live in this function: a failure inside
// libjpeg comes back through longjmp, which skips destructors.
int32_t JpegReader::loadFromMemory(const uint8_t* bytes, size_t size) {
    releaseRows();
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = escapeFromDecoding;
    trap.manager.output_message = printJpegMessage;
    if (setjmp(trap.escape) != 0) {
        jpeg_destroy_decompress(&info);
        releaseRows();
        return -1;
    }
    jpeg_create_decompress(&info);
    bool read =
        startDecoding(info, bytes, size) && makeRgbRows(info.output_width, info.output_height) && readScanLines(info);
    if (read) {
        jpeg_finish_decompress(&info);
    } else {
        printf("Can't read jpeg file.\n");
        releaseRows();
    }
    jpeg_destroy_decompress(&info);
    return read ? 0 : -1;
}

bool JpegReader::readScanLines(jpeg_decompress_struct& info) {
    while (info.output_scanline < info.output_height) {
        // Lines are decoded straight into the picture's rows.
        uint8_t* row = rgbRows[info.output_scanline];
        if (jpeg_read_scanlines(&info, &row, 1) != 1) return false;
    }
    return true;
}

namespace {

// libjpeg prints to the error stream; the viewer's messages go to the console.
void printJpegMessage(j_common_ptr info) {
    char text[JMSG_LENGTH_MAX];
    (*info->err->format_message)(info, text);
    printf("%s\n", text);
}

void escapeFromDecoding(j_common_ptr info) {
    (*info->err->output_message)(info);
    longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->escape, 1);
}

// Reads the header and starts decoding into red, green, blue lines. False,
// before libjpeg allocates the picture, for a size out of range.
bool startDecoding(jpeg_decompress_struct& info, const uint8_t* bytes, size_t size) {
    info.mem->max_memory_to_use = JPEG_DECODER_MEMORY_LIMIT;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (!imageSideInRange(info.image_width) || !imageSideInRange(info.image_height)) return false;
    // libjpeg turns grey pictures into grey red, green, blue itself; a
    // picture it can't turn into RGB (CMYK) fails as a decoding error.
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    return info.output_components == 3;
}

}  // namespace
