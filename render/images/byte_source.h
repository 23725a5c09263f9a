// Little-endian reads over a file held in memory, for the image readers.
// Bounds live here only: a read past the end never touches memory beyond the
// buffer.
#pragma once

#include <cstddef>
#include <cstdint>

class ByteSource {
public:
    ByteSource(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}

    // NOTE: past the end every byte reads as 0xFF, the value a byte-by-byte
    // read of a short file has always stored for its missing pixel bytes.
    uint8_t get8() { return position_ < size_ ? bytes_[position_++] : 0xFF; }
    uint16_t get16le() {
        uint16_t low = get8();
        return static_cast<uint16_t>(low | get8() << 8);
    }
    uint32_t get32le() {
        uint32_t low = get16le();
        return low | static_cast<uint32_t>(get16le()) << 16;
    }
    // The next `count` bytes, or null (reading nothing) when fewer are left.
    const uint8_t* take(size_t count) {
        if (count > size_ - position_) return nullptr;
        position_ += count;
        return bytes_ + position_ - count;
    }
    void skip(size_t count) { seek(count < size_ - position_ ? position_ + count : size_); }
    void seek(size_t offset) { position_ = offset < size_ ? offset : size_; }
    size_t remaining() const { return size_ - position_; }

private:
    const uint8_t* bytes_;
    size_t size_;
    size_t position_ = 0;
};
