// Any bytes as a JPEG texture: a picture or a clean refusal, never a crash,
// a hang or an unbounded allocation.
#include "render/images/jpeg_reader.h"
#include "tests/fuzz/image_reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    return loadAndCheck(JpegReader(), bytes, size);
}
