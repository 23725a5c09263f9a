#include "tools/mqoinfo/output_buffer.h"

#include <charconv>

namespace {

constexpr size_t FLUSH_SIZE = size_t{1} << 20;

}  // namespace

OutputBuffer::OutputBuffer(FILE* sink) : sink(sink) {
    pending.reserve(FLUSH_SIZE + 4096);
}

OutputBuffer::OutputBuffer() : sink(nullptr) {}

OutputBuffer::~OutputBuffer() {
    flush();
}

void OutputBuffer::append(std::string_view text) {
    pending.append(text);
    flushWhenFull();
}

void OutputBuffer::append(char c) {
    pending.push_back(c);
    flushWhenFull();
}

void OutputBuffer::appendInt(int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    append(std::string_view(digits, result.ptr - digits));
}

void OutputBuffer::appendFloat(float value, int precision) {
    char digits[64];
    auto result = std::to_chars(digits, digits + sizeof digits, value,
                                std::chars_format::general, precision);
    append(std::string_view(digits, result.ptr - digits));
}

bool OutputBuffer::flush() {
    if (sink == nullptr) return true;
    if (!pending.empty() && !writeFailed) {
        writeFailed = fwrite(pending.data(), 1, pending.size(), sink) != pending.size();
    }
    pending.clear();
    if (!writeFailed) writeFailed = fflush(sink) != 0;
    return !writeFailed;
}

void OutputBuffer::flushWhenFull() {
    if (sink != nullptr && pending.size() >= FLUSH_SIZE) flush();
}
