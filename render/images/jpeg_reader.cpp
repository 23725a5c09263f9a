#include "render/images/jpeg_reader.h"
#include "render/images/image_messages.h"

// libjpeg's header needs FILE and size_t declared before it.
#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>

namespace {

// Usual progressions have about 10 scans. A file with many more spends
// seconds on each pass over a big picture, and no encoder writes one.
constexpr int MAX_JPEG_SCANS = 64;

constexpr const char* READ_FAILURE_MESSAGE = "Can't read jpeg file.\n";

// libjpeg's own buffers of a few rows: a few megabytes for the widest
// picture.
constexpr long JPEG_WORKING_BYTES = 16L << 20;

// libjpeg reports a fatal error by calling `error_exit`, which must not
// return. It jumps back into the load that is running instead of ending the
// program.
struct JpegErrorTrap {
    jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is ours too
    jmp_buf escape;
};

void printJpegMessage(j_common_ptr info);
[[noreturn]] void escapeFromDecoding(j_common_ptr info);
void refuseEndlessScans(j_common_ptr info);
uint64_t leastScanBytes(const jpeg_decompress_struct& info);
uint64_t coefficientBytes(const jpeg_decompress_struct& info);

}  // namespace

JpegReader::JpegReader() : ImageReader("Can't open jpeg file.\n") {}

// NOTE: nothing with a destructor may live in this function: a failure inside
// libjpeg comes back through longjmp, which skips destructors.
int32_t JpegReader::decode(const uint8_t* bytes, size_t size) {
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    jpeg_progress_mgr progress = {};
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = escapeFromDecoding;
    trap.manager.output_message = printJpegMessage;
    progress.progress_monitor = refuseEndlessScans;
    if (setjmp(trap.escape) != 0) {
        tellImageMessage("%s", READ_FAILURE_MESSAGE);
        jpeg_destroy_decompress(&info);
        clear();
        return -1;
    }
    jpeg_create_decompress(&info);
    info.progress = &progress;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    // libjpeg turns grey pictures into grey red, green, blue itself; a
    // picture it can't turn into RGB (CMYK) fails as a decoding error.
    info.out_color_space = JCS_RGB;
    bool read = makeRowsFor(info, size);
    if (read) jpeg_start_decompress(&info);
    read = read && info.output_components == 3 && readScanLines(info);
    if (read) {
        jpeg_finish_decompress(&info);
    } else {
        tellImageMessage("%s", READ_FAILURE_MESSAGE);
        clear();
    }
    jpeg_destroy_decompress(&info);
    return read ? 0 : -1;
}

bool JpegReader::makeRowsFor(jpeg_decompress_struct& info, size_t fileSize) {
    if (!imageSideInRange(info.image_width) || !imageSideInRange(info.image_height)) return false;
    if (!holdsHalfOf(fileSize, leastScanBytes(info))) return false;
    uint64_t decoderBytes = coefficientBytes(info);
    if (!makeRgbRows(info.image_width, info.image_height, decoderBytes)) return false;
    // Asked for more than its coefficients and working buffers, libjpeg
    // fails the load rather than growing.
    info.mem->max_memory_to_use = static_cast<long>(decoderBytes) + JPEG_WORKING_BYTES;
    return true;
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
    tellImageMessage("%s\n", text);
}

void escapeFromDecoding(j_common_ptr info) {
    (*info->err->output_message)(info);
    longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->escape, 1);
}

// libjpeg calls this as it reads, so a file of endless scans is stopped
// while it is being read.
void refuseEndlessScans(j_common_ptr info) {
    if (reinterpret_cast<j_decompress_ptr>(info)->input_scan_number <= MAX_JPEG_SCANS) return;
    tellImageMessage("The JPEG file has more than %d scans: taken as broken\n", MAX_JPEG_SCANS);
    longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->escape, 1);
}

// A Huffman-coded scan spends at least a bit on each 8 x 8 block of each
// component for its DC value and, in a sequential file, another for the
// block's end: a file holding far less is cut short, and libjpeg would decode
// its whole declared size from nothing. Arithmetic coding can spend almost
// nothing on a flat block, so those files are bounded by memory alone.
uint64_t leastScanBytes(const jpeg_decompress_struct& info) {
    if (info.arith_code) return 0;
    uint64_t blocks = 0;
    for (int c = 0; c < info.num_components; ++c)
        blocks += static_cast<uint64_t>(info.comp_info[c].width_in_blocks) * info.comp_info[c].height_in_blocks;
    uint64_t bitsPerBlock = info.progressive_mode ? 1 : 2;
    return blocks * bitsPerBlock / 8;
}

// A progressive file, or one whose components come in scans of their own,
// keeps every coefficient of the picture until its last scan: 64 of two
// bytes per block, the blocks of each component rounded up to whole
// sampling units, as libjpeg lays them out.
uint64_t coefficientBytes(const jpeg_decompress_struct& info) {
    if (!info.progressive_mode && info.comps_in_scan == info.num_components) return 0;
    uint64_t bytes = 0;
    for (int c = 0; c < info.num_components; ++c) {
        const jpeg_component_info& component = info.comp_info[c];
        uint64_t across = (component.width_in_blocks + component.h_samp_factor - 1) / component.h_samp_factor;
        uint64_t down = (component.height_in_blocks + component.v_samp_factor - 1) / component.v_samp_factor;
        bytes += across * component.h_samp_factor * down * component.v_samp_factor * sizeof(JBLOCK);
    }
    return bytes;
}

}  // namespace
