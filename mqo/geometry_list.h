// The vertex or face list of an object: plain records in one block, a single
// pointer while the list is empty. Small lists live on the heap. A list that
// holds megabytes moves to a mapping of its own, asked to be backed by huge
// pages (a big model's lists then fault in far fewer pages), and grows there
// in place: growing never holds the list twice.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <span>
#include <stdexcept>
#include <type_traits>
#include <utility>

// A block of `newBytes` holding the first `keptBytes` of `block` (null, or
// `oldBytes` long, which it replaces). Throws std::bad_alloc.
void* resizeGeometryBlock(void* block, size_t oldBytes, size_t keptBytes, size_t newBytes);
void releaseGeometryBlock(void* block, size_t bytes) noexcept;

template <typename T>
class GeometryList {
    static_assert(std::is_trivially_copyable_v<T>, "records are copied and moved as bytes");

public:
    using value_type = T;
    using iterator = T*;
    using const_iterator = const T*;

    GeometryList() = default;
    GeometryList(const GeometryList& other) { append(std::span<const T>(other.data(), other.size())); }
    GeometryList(GeometryList&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
    GeometryList& operator=(const GeometryList& other) {
        if (this != &other) {
            GeometryList copy(other);
            std::swap(block_, copy.block_);
        }
        return *this;
    }
    GeometryList& operator=(GeometryList&& other) noexcept {
        std::swap(block_, other.block_);
        return *this;
    }
    ~GeometryList() {
        if (block_ != nullptr) releaseGeometryBlock(block_, bytesFor(block_->capacity));
    }

    size_t size() const { return block_ != nullptr ? block_->size : 0; }
    size_t capacity() const { return block_ != nullptr ? block_->capacity : 0; }
    bool empty() const { return size() == 0; }
    T* data() { return block_ != nullptr ? items() : nullptr; }
    const T* data() const { return block_ != nullptr ? items() : nullptr; }
    T* begin() { return data(); }
    T* end() { return data() + size(); }
    const T* begin() const { return data(); }
    const T* end() const { return data() + size(); }
    T& operator[](size_t index) { return items()[index]; }
    const T& operator[](size_t index) const { return items()[index]; }
    const T& at(size_t index) const {
        if (index >= size()) throw std::out_of_range("no such record");
        return items()[index];
    }
    T& front() { return items()[0]; }
    const T& front() const { return items()[0]; }

    // NOTE: by value: the item may lie in this list, whose block growing moves.
    void push_back(T item) {
        if (size() == capacity()) reserve(size() + 1);
        items()[block_->size++] = item;
    }
    void append(std::span<const T> items) {
        if (items.empty()) return;
        reserve(size() + items.size());
        memcpy(this->items() + block_->size, items.data(), items.size() * sizeof(T));
        block_->size += items.size();
    }
    // New records are value-initialised: zeros.
    void resize(size_t count) {
        const size_t current = size();
        if (count > current) {
            reserve(count);
            std::fill(items() + current, items() + count, T{});
        }
        if (block_ != nullptr) block_->size = count;
    }
    // Grows at least geometrically, so that appends one by one stay linear.
    void reserve(size_t count) {
        size_t current = capacity();
        if (count <= current) return;
        if (count > MAX_COUNT) throw std::bad_alloc();
        size_t grown = std::min(std::max({count, 2 * current, size_t{4}}), MAX_COUNT);
        const bool fresh = block_ == nullptr;
        void* block =
            resizeGeometryBlock(block_, fresh ? 0 : bytesFor(current), fresh ? 0 : bytesFor(size()), bytesFor(grown));
        block_ = static_cast<Header*>(block);
        if (fresh) block_->size = 0;
        block_->capacity = grown;
    }

private:
    struct Header {
        size_t size;
        size_t capacity;
    };
    static constexpr size_t MAX_COUNT = (SIZE_MAX / 2 - sizeof(Header)) / sizeof(T);

    static constexpr size_t bytesFor(size_t count) { return sizeof(Header) + count * sizeof(T); }
    T* items() const { return reinterpret_cast<T*>(block_ + 1); }

    Header* block_ = nullptr;
};
