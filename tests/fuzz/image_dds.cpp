// Any bytes as a DDS texture: a picture or a clean refusal, never a crash, a
// hang or an unbounded allocation.
#include "render/images/dds_reader.h"
#include "tests/fuzz/image_reader_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    return loadAndCheck(DdsReader(), bytes, size);
}
