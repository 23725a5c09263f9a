#include "tools/mqoinfo/output_buffer.h"

#include <charconv>

namespace {

constexpr size_t FLUSH_SIZE = size_t{1} << 20;

}  // namespace

OutputBuffer::OutputBuffer(FILE* sink) : sink_(sink) {
    pending_.reserve(FLUSH_SIZE + 4096);
}

OutputBuffer::OutputBuffer() : sink_(nullptr) {}

OutputBuffer::~OutputBuffer() {
    flush();
}

void OutputBuffer::append(std::string_view text) {
    pending_.append(text);
    flushWhenFull();
}

void OutputBuffer::append(char c) {
    pending_.push_back(c);
    flushWhenFull();
}

void OutputBuffer::appendInt(int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    append(std::string_view(digits, result.ptr - digits));
}

void OutputBuffer::appendFloat(float value, int precision) {
    char digits[64];
    auto result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, precision);
    append(std::string_view(digits, result.ptr - digits));
}

bool OutputBuffer::flush() {
    if (sink_ == nullptr) return true;
    if (!pending_.empty() && !writeFailed_)
        writeFailed_ = fwrite(pending_.data(), 1, pending_.size(), sink_) != pending_.size();
    pending_.clear();
    if (!writeFailed_) writeFailed_ = fflush(sink_) != 0;
    return !writeFailed_;
}

void OutputBuffer::flushWhenFull() {
    if (sink_ != nullptr && pending_.size() >= FLUSH_SIZE) flush();
}
