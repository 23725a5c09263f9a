// Where the chunk readers stand in a model file: the tokens of the current
// line and the bytes after it. Every reader moves through the file with one
// cursor and ends the read through it with a ParseResult code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "mqo/line_readers.h"
#include "mqo/model_source.h"
#include "mqo/parse_result.h"
#include "mqo/records.h"

class ChunkCursor {
public:
    // Reads from `file`, opened by the caller in binary mode; never closes it.
    explicit ChunkCursor(FILE* file) : source_(file), reader_(source_) {}
    // Reads from memory; `bytes` must outlive the cursor.
    explicit ChunkCursor(std::string_view bytes) : source_(bytes), reader_(source_) {}

    ChunkCursor(const ChunkCursor&) = delete;
    ChunkCursor& operator=(const ChunkCursor&) = delete;

    // The tokens of the current line.
    const LineTokenizer& line() const { return reader_; }
    // Reads the next line: its token count, or -1 at the end of the file.
    int readLine() { return reader_.readLine(); }
    // Reads a line inside a chunk, where the end of the file fails the read.
    int readChunkLine();
    bool lastTokenIs(std::string_view text) const;
    // True for a line ending in "[", a byte count and "]": binary data follows.
    bool opensBinaryBlock() const;
    // A chunk or block head that does not end with "{" fails the read.
    void requireBlockHead() const;
    // Tokens `index` to `index` + 2 as a point.
    Point3 pointAt(int index) const;
    // Skips what the current line opens: a block up to its matching closing
    // line, or the binary data after it.
    void skipChunk();
    // Copies up to `count` bytes that follow the current line; fewer only at
    // the end of the file.
    size_t readBytes(char* out, size_t count) { return source_.read(out, count); }
    // Lines (or 8190-byte line pieces) read so far.
    int64_t lineNumber() const { return reader_.linesRead(); }

    // Ends the read with `code`; caught only by ModelDocument::parse().
    [[noreturn]] static void fail(ParseResult code);

private:
    void skipBinaryBlock();

    ModelSource source_;
    BufferedLineReader reader_;
};
