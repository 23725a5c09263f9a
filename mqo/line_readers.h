// Readers that take model text one line at a time from a ModelSource and
// tokenize it. The document reads through BufferedLineReader; the byte-by-byte
// StreamLineReader ends lines at a lone carriage return as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "mqo/line_tokenizer.h"
#include "mqo/model_source.h"

class StreamLineReader : public LineTokenizer {
public:
    // Reads from `source`, which must outlive the reader.
    explicit StreamLineReader(ModelSource& source) : source_(source) {}

    // Reads and splits the next line; returns its token count, or -1 (also
    // the new tokenCount) when nothing is left to read.
    virtual int readLine();
    // Lines read so far, not counting the end of the file.
    int64_t linesRead() const { return linesRead_; }

protected:
    ModelSource& source() { return source_; }
    void countLine() { ++linesRead_; }

private:
    ModelSource& source_;
    std::string line_;
    int64_t linesRead_ = 0;
};

class BufferedLineReader : public StreamLineReader {
public:
    // The longest piece of a line taken at once, as fgets with an 8191-byte
    // limit takes it; the rest of a longer line comes back as further lines.
    static constexpr size_t LINE_PIECE_SIZE = 8190;

    using StreamLineReader::StreamLineReader;

    int readLine() override;
    // The next line's bytes, not cut into tokens: empty, with tokenCount()
    // -1, at the end of the file. The view lasts until the next read.
    std::string_view readText();
    // From now on a line is taken whole however long it is, as far as the
    // next line feed.
    void readWholeLines() { pieceSize_ = SIZE_MAX; }

private:
    size_t pieceSize_ = LINE_PIECE_SIZE;
};
