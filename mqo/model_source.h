// The bytes of one model file, from an open file or from memory, read through
// one reused window so that no line, block or skip ever allocates. Every read
// lands on exactly the bytes that fgets, getc, fread and fseek would give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

class ModelSource {
public:
    // Reads `file` from its current position; the caller keeps and closes it.
    explicit ModelSource(FILE* file);
    // Reads `bytes` in place; they must outlive the source.
    explicit ModelSource(std::string_view bytes);

    ModelSource(const ModelSource&) = delete;
    ModelSource& operator=(const ModelSource&) = delete;

    // The next bytes up to and including the first line feed, at most
    // `limit` of them, as fgets with a buffer of limit + 1 stores them.
    // Empty only at the end of the bytes. The view lasts until the next call.
    // A line longer than the window widens it, up to its first NUL: a line
    // without one is bounded only by the file.
    std::string_view readPiece(size_t limit);
    // The next byte (0 to 255), or -1 at the end.
    int readByte();
    // The next byte without consuming it, or -1 at the end.
    int peekByte();
    // Copies up to `count` bytes to `out`; fewer only at the end.
    size_t read(char* out, size_t count);
    // Moves forward by `count` bytes; moving past the end leaves nothing to
    // read.
    void skip(uint64_t count);

private:
    bool refill();
    void passLineRest();

    FILE* file_ = nullptr;
    std::unique_ptr<char[]> buffer_;
    size_t bufferSize_ = 0;
    const char* window_ = nullptr;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool fileAtEnd_ = true;
    // The piece last read ended at a NUL, and the rest of its line is still
    // to be passed over.
    bool passingLineRest_ = false;
};
