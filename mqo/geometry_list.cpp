#include "mqo/geometry_list.h"

#include <sys/mman.h>

#include <cstdlib>

namespace {

constexpr size_t HUGE_PAGE_SIZE = size_t{2} << 20;
// Lists from this size on are mapped on their own.
constexpr size_t MAPPED_FROM_BYTES = 2 * HUGE_PAGE_SIZE;

bool isMapped(size_t bytes) {
    return bytes >= MAPPED_FROM_BYTES;
}

void* growMapping(void* block, size_t oldBytes, size_t keptBytes, size_t newBytes);

}  // namespace

void* resizeGeometryBlock(void* block, size_t oldBytes, size_t keptBytes, size_t newBytes) {
    void* resized = isMapped(newBytes) ? growMapping(block, oldBytes, keptBytes, newBytes) : realloc(block, newBytes);
    if (resized == nullptr) throw std::bad_alloc();
    return resized;
}

void releaseGeometryBlock(void* block, size_t bytes) noexcept {
    if (isMapped(bytes))
        munmap(block, bytes);
    else
        free(block);
}

namespace {

// A mapping moved by mremap keeps its pages where they are: nothing is
// copied and untouched pages cost nothing. Null when no memory is left.
void* growMapping(void* block, size_t oldBytes, size_t keptBytes, size_t newBytes) {
    void* grown = block != nullptr && isMapped(oldBytes)
                      ? mremap(block, oldBytes, newBytes, MREMAP_MAYMOVE)
                      : mmap(nullptr, newBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (grown == MAP_FAILED) return nullptr;
    if (block != nullptr && !isMapped(oldBytes)) {
        memcpy(grown, block, keptBytes);
        free(block);
    }
    madvise(grown, newBytes, MADV_HUGEPAGE);  // only advice: ignored where huge pages are off
    return grown;
}

}  // namespace
