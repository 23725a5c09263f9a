// Allocation for the vertex and face lists of an object. A big model's lists
// run to hundreds of megabytes, and fresh memory handed out one 4 KiB page
// per fault costs reading such a model about a tenth of its time. Lists past
// a few megabytes are mapped on their own and asked to be backed by huge
// pages; smaller ones come from the ordinary heap.
#pragma once

#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <new>

template <typename T>
struct GeometryAllocator {
    using value_type = T;

    static constexpr size_t HUGE_PAGE_SIZE = size_t{2} << 20;
    static constexpr size_t MAPPED_FROM_BYTES = 2 * HUGE_PAGE_SIZE;

    GeometryAllocator() = default;
    template <typename U>
    GeometryAllocator(const GeometryAllocator<U>&) noexcept {}

    T* allocate(size_t count) {
        if (count > SIZE_MAX / sizeof(T)) throw std::bad_array_new_length();
        size_t bytes = count * sizeof(T);
        if (bytes < MAPPED_FROM_BYTES) return static_cast<T*>(::operator new(bytes));
        void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (block == MAP_FAILED) throw std::bad_alloc();
        madvise(block, bytes, MADV_HUGEPAGE);  // only advice: ignored where huge pages are off
        return static_cast<T*>(block);
    }

    void deallocate(T* block, size_t count) noexcept {
        size_t bytes = count * sizeof(T);
        if (bytes < MAPPED_FROM_BYTES)
            ::operator delete(block);
        else
            munmap(block, bytes);
    }

    template <typename U>
    bool operator==(const GeometryAllocator<U>&) const noexcept {
        return true;
    }
};
