#include "mqo/chunk_cursor.h"

int ChunkCursor::readChunkLine() {
    int count = reader_.readLine();
    if (count < 0) fail(ParseEof);
    return count;
}

bool ChunkCursor::lastTokenIs(std::string_view text) const {
    return reader_.tokenIs(reader_.tokenCount() - 1, text);
}

bool ChunkCursor::opensBinaryBlock() const {
    int count = reader_.tokenCount();
    return count >= 3 && reader_.tokenIs(count - 3, "[") && lastTokenIs("]");
}

void ChunkCursor::requireBlockHead() const {
    if (!lastTokenIs("{")) fail(ParseError);
}

Point3 ChunkCursor::pointAt(int index) const {
    return {static_cast<float>(reader_.floatAt(index)), static_cast<float>(reader_.floatAt(index + 1)),
            static_cast<float>(reader_.floatAt(index + 2))};
}

// Only the last token of a line counts for nesting: "a { b" opens no block
// and "a { b }" closes one.
void ChunkCursor::skipChunk() {
    if (reader_.tokenCount() < 1 || !lastTokenIs("{")) {
        if (opensBinaryBlock()) skipBinaryBlock();
        return;
    }
    for (int depth = 1; depth > 0;) {
        if (readChunkLine() == 0) continue;
        if (lastTokenIs("{"))
            ++depth;
        else if (lastTokenIs("}"))
            --depth;
        else if (opensBinaryBlock())
            skipBinaryBlock();
    }
}

void ChunkCursor::fail(ParseResult code) {
    throw code;
}

// A negative count is refused: moving back would read the same lines again.
void ChunkCursor::skipBinaryBlock() {
    int32_t byteCount = reader_.intAt(reader_.tokenCount() - 2);
    if (byteCount < 0) fail(ParseError);
    source_.skip(static_cast<uint64_t>(byteCount));
}
