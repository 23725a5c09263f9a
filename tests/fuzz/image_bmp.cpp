// Any bytes as a BMP texture, to the classic viewer and to a model opened by
// name: a picture or a clean refusal, never a crash, a hang or an unbounded
// allocation.
#include "render/images/bmp_reader.h"
#include "tests/fuzz/image_reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    loadAndCheck(BmpReader(ImageFormats::Classic), bytes, size);
    return loadAndCheck(BmpReader(ImageFormats::Extended), bytes, size);
}
