// Any bytes as a TGA texture, to the classic viewer and to a model opened by
// name: a picture or a clean refusal, never a crash, a hang or an unbounded
// allocation.
#include "render/images/tga_reader.h"
#include "tests/fuzz/image_reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    loadAndCheck(TgaReader(ImageFormats::Classic), bytes, size);
    return loadAndCheck(TgaReader(ImageFormats::Extended), bytes, size);
}
