#include "mqo/model_source.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// Large enough that refills are rare, small enough to cost little to touch;
// far above the longest classic line piece.
constexpr size_t WINDOW_SIZE = size_t{1} << 20;

}  // namespace

// No file reads as an empty one.
ModelSource::ModelSource(FILE* file)
    : file_(file),
      buffer_(new char[WINDOW_SIZE]),
      bufferSize_(WINDOW_SIZE),
      window_(buffer_.get()),
      fileAtEnd_(file == nullptr) {}

ModelSource::ModelSource(std::string_view bytes) : window_(bytes.empty() ? "" : bytes.data()), end_(bytes.size()) {}

std::string_view ModelSource::readPiece(size_t limit) {
    if (passingLineRest_) passLineRest();
    size_t searched = 0;  // bytes at the start of the piece known to hold no line feed
    size_t length = 0;
    for (;;) {
        length = std::min(end_ - begin_, limit);
        if (const void* lineFeed = memchr(window_ + begin_ + searched, '\n', length - searched)) {
            length = static_cast<const char*>(lineFeed) - (window_ + begin_) + 1;
            break;
        }
        if (length == limit) break;
        // NOTE: nothing reads a line past a NUL. A line that fills the whole
        // window ends at its first NUL, and the rest up to the line feed is
        // passed over at the next read instead of being kept: a sparse
        // file's gigabytes of zeros cost no memory.
        if (length == bufferSize_) {
            if (const void* nul = memchr(window_ + begin_, '\0', length)) {
                length = static_cast<const char*>(nul) - (window_ + begin_) + 1;
                passingLineRest_ = true;
                break;
            }
        }
        // A piece may end beyond the window: take in more of the file first.
        if (!refill()) break;
        searched = length;
    }
    // NOTE: taken only now: refilling moves the window, even when nothing
    // more could be read.
    const char* start = window_ + begin_;
    begin_ += length;
    return {start, length};
}

int ModelSource::readByte() {
    int byte = peekByte();
    if (byte >= 0) ++begin_;
    return byte;
}

int ModelSource::peekByte() {
    if (passingLineRest_) passLineRest();
    if (begin_ == end_ && !refill()) return -1;
    return static_cast<unsigned char>(window_[begin_]);
}

size_t ModelSource::read(char* out, size_t count) {
    if (passingLineRest_) passLineRest();
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
    if (passingLineRest_) passLineRest();
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

// Moves past the next line feed, or to the end, one window at a time.
void ModelSource::passLineRest() {
    passingLineRest_ = false;
    for (;;) {
        if (begin_ == end_ && !refill()) return;
        if (const void* lineFeed = memchr(window_ + begin_, '\n', end_ - begin_)) {
            begin_ = static_cast<size_t>(static_cast<const char*>(lineFeed) - window_) + 1;
            return;
        }
        begin_ = end_;
    }
}

// Keeps the unread bytes, moved to the front, and appends what the file has
// next; a window full of unread bytes doubles. False when nothing more could
// be read. Throws std::bad_alloc.
bool ModelSource::refill() {
    if (file_ == nullptr || fileAtEnd_) return false;
    size_t kept = end_ - begin_;
    if (kept == bufferSize_) {
        std::unique_ptr<char[]> wider(new char[2 * bufferSize_]);
        memcpy(wider.get(), window_ + begin_, kept);
        buffer_ = std::move(wider);
        bufferSize_ *= 2;
    } else {
        memmove(buffer_.get(), window_ + begin_, kept);
    }
    window_ = buffer_.get();
    begin_ = 0;
    end_ = kept;
    size_t got = fread(buffer_.get() + kept, 1, bufferSize_ - kept, file_);
    if (got == 0) {
        fileAtEnd_ = true;
        return false;
    }
    end_ += got;
    return true;
}
