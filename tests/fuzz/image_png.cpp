// Any bytes as a PNG texture: a picture or a clean refusal, never a crash, a
// hang or an unbounded allocation.
#include "render/images/png_reader.h"
#include "tests/fuzz/image_reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    return loadAndCheck(PngReader(), bytes, size);
}
