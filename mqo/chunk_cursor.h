// Where the chunk readers stand in a model file: the tokens of the current
// line and the bytes after it. Every reader moves through the file with one
// cursor and ends the read through it with a ParseResult code and a text
// that says what was expected.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "mqo/code_page.h"
#include "mqo/line_readers.h"
#include "mqo/model_source.h"
#include "mqo/parse_result.h"
#include "mqo/records.h"

// The classic reading is the viewer's as it always was: "Format Text Ver
// 1.0" only, Shift JIS pairs, lines in pieces of 8190 bytes, faces cut to
// four corners. The model reading takes newer files too: Ver 1.1 and 1.2,
// the code page the file names, whole lines, faces of any corner count.
enum class ReadingMode { Classic, Model };

// How a read ended early: thrown by ChunkCursor::fail, caught only by
// ModelDocument::parse(). Holds its text itself, so that failing never
// needs memory.
struct ReadFailure {
    static constexpr size_t TEXT_SIZE = 160;

    ParseResult code = ParseError;
    char expected[TEXT_SIZE] = {};
};

class ChunkCursor {
public:
    // Reads from `file`, opened by the caller in binary mode; never closes it.
    ChunkCursor(FILE* file, ReadingMode mode);
    // Reads from memory; `bytes` must outlive the cursor.
    ChunkCursor(std::string_view bytes, ReadingMode mode);

    ChunkCursor(const ChunkCursor&) = delete;
    ChunkCursor& operator=(const ChunkCursor&) = delete;

    ReadingMode mode() const { return mode_; }
    // Pairs the bytes of the lines after this one as `page` does.
    void useCodePage(CodePage page) { reader_.pairBytesAs(page); }

    // The tokens of the current line.
    const LineTokenizer& line() const { return reader_; }
    // Reads the next line: its token count, or -1 at the end of the file.
    int readLine() { return reader_.readLine(); }
    // Reads a line inside `chunk` (as "the face block"), where the end of the
    // file fails the read.
    int readChunkLine(std::string_view chunk) { return reader_.split(readChunkText(chunk)); }
    // The same, leaving the line's bytes to the caller; the line has no
    // tokens until split() cuts it.
    std::string_view readChunkText(std::string_view chunk);
    int split(std::string_view text) { return reader_.split(text); }

    bool lastTokenIs(std::string_view text) const;
    // True for a line ending in "[", a byte count and "]": binary data follows.
    bool opensBinaryBlock() const;
    // A head of a chunk or block, `what` (as "an Object line"), that does not
    // end with "{" fails the read.
    void requireBlockHead(const char* what) const;
    // Tokens `index` to `index` + 2 as a point.
    Point3 pointAt(int index) const;
    // Skips what the current line opens: a block up to its matching closing
    // line, or the binary data after it.
    void skipChunk();
    // Copies up to `count` bytes that follow the current line; fewer only at
    // the end of the file.
    size_t readBytes(char* out, size_t count) { return source_.read(out, count); }
    // Lines read so far: physical lines in the model reading, lines or
    // 8190-byte line pieces in the classic one. Binary data after a line
    // counts as none, whatever bytes it holds.
    int64_t lineNumber() const { return reader_.linesRead(); }

    // Ends the read with `code`; `format` and what follows it, as printf
    // takes them, say what was expected.
    [[noreturn]] static void fail(ParseResult code, const char* format, ...) __attribute__((format(printf, 2, 3)));

private:
    void skipBinaryBlock();

    ModelSource source_;
    BufferedLineReader reader_;
    ReadingMode mode_;
};
