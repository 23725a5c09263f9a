#include "mqo/model_source.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Large enough that refills are rare, small enough to cost little to touch;
// always far above the longest line piece.
constexpr size_t WINDOW_SIZE = size_t{1} << 20;

}  // namespace

// No file reads as an empty one.
ModelSource::ModelSource(FILE* file)
    : file_(file), buffer_(new char[WINDOW_SIZE]), window_(buffer_.get()), fileAtEnd_(file == nullptr) {}

ModelSource::ModelSource(std::string_view bytes) : window_(bytes.empty() ? "" : bytes.data()), end_(bytes.size()) {}

std::string_view ModelSource::readPiece(size_t limit) {
    // A piece may end beyond the window: take in more of the file first.
    while (end_ - begin_ < limit && memchr(window_ + begin_, '\n', end_ - begin_) == nullptr)
        if (!refill()) break;
    const char* start = window_ + begin_;
    size_t length = std::min(end_ - begin_, limit);
    if (const void* lineFeed = memchr(start, '\n', length)) length = static_cast<const char*>(lineFeed) - start + 1;
    begin_ += length;
    return {start, length};
}

int ModelSource::readByte() {
    int byte = peekByte();
    if (byte >= 0) ++begin_;
    return byte;
}

int ModelSource::peekByte() {
    if (begin_ == end_ && !refill()) return -1;
    return static_cast<unsigned char>(window_[begin_]);
}

size_t ModelSource::read(char* out, size_t count) {
    size_t copied = 0;
    while (copied < count) {
        if (begin_ == end_ && !refill()) break;
        size_t taken = std::min(end_ - begin_, count - copied);
        memcpy(out + copied, window_ + begin_, taken);
        begin_ += taken;
        copied += taken;
    }
    return copied;
}

void ModelSource::skip(uint64_t count) {
    size_t available = end_ - begin_;
    if (count <= available) {
        begin_ += count;
        return;
    }
    begin_ = end_;
    if (file_ == nullptr || fileAtEnd_) return;
    uint64_t beyond = count - available;
    // NOTE: a file may be moved past its end, as fseek allows; the next read
    // then finds nothing. A stream that cannot seek is read forward instead.
    if (beyond <= static_cast<uint64_t>(LONG_MAX) && fseek(file_, static_cast<long>(beyond), SEEK_CUR) == 0) return;
    while (beyond > 0 && refill()) {
        size_t taken = static_cast<size_t>(std::min<uint64_t>(beyond, end_ - begin_));
        begin_ += taken;
        beyond -= taken;
    }
}

// Keeps the unread bytes, moved to the front, and appends what the file has
// next. False when nothing more could be read.
bool ModelSource::refill() {
    if (file_ == nullptr || fileAtEnd_) return false;
    size_t kept = end_ - begin_;
    memmove(buffer_.get(), window_ + begin_, kept);
    begin_ = 0;
    end_ = kept;
    size_t got = fread(buffer_.get() + kept, 1, WINDOW_SIZE - kept, file_);
    if (got == 0) {
        fileAtEnd_ = true;
        return false;
    }
    end_ += got;
    return true;
}
