#include "mqo/chunk_cursor.h"

#include <algorithm>
#include <cstdarg>

namespace {

// Room for the name of a skipped block in a failure's text.
constexpr size_t BLOCK_NAME_SIZE = 48;

void prepare(BufferedLineReader& reader, ReadingMode mode);

}  // namespace

ChunkCursor::ChunkCursor(FILE* file, ReadingMode mode) : source_(file), reader_(source_), mode_(mode) {
    prepare(reader_, mode);
}

ChunkCursor::ChunkCursor(std::string_view bytes, ReadingMode mode) : source_(bytes), reader_(source_), mode_(mode) {
    prepare(reader_, mode);
}

std::string_view ChunkCursor::readChunkText(std::string_view chunk) {
    std::string_view text = reader_.readText();
    if (reader_.tokenCount() < 0)
        fail(ParseEof, "expected \"}\" closing %.*s before the end of the file", static_cast<int>(chunk.size()),
             chunk.data());
    return text;
}

bool ChunkCursor::lastTokenIs(std::string_view text) const {
    return reader_.tokenIs(reader_.tokenCount() - 1, text);
}

bool ChunkCursor::opensBinaryBlock() const {
    int count = reader_.tokenCount();
    return count >= 3 && reader_.tokenIs(count - 3, "[") && lastTokenIs("]");
}

void ChunkCursor::requireBlockHead(const char* what) const {
    if (!lastTokenIs("{")) fail(ParseError, "expected \"{\" at the end of %s", what);
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
    // The head's tokens are gone once the next line is read. Its name goes
    // into a failure's text as printable ASCII: the text is shown as UTF-8.
    char name[BLOCK_NAME_SIZE];
    const std::string_view head = reader_.tokenAt(0);
    snprintf(name, sizeof name, "the %.*s block", static_cast<int>(std::min<size_t>(head.size(), 32)), head.data());
    for (char& c : name)
        if (c != '\0' && (c < ' ' || c > '~')) c = '?';
    const std::string_view chunk(name);
    for (int depth = 1; depth > 0;) {
        if (readChunkLine(chunk) == 0) continue;
        if (lastTokenIs("{"))
            ++depth;
        else if (lastTokenIs("}"))
            --depth;
        else if (opensBinaryBlock())
            skipBinaryBlock();
    }
}

void ChunkCursor::fail(ParseResult code, const char* format, ...) {
    ReadFailure failure;
    failure.code = code;
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(failure.expected, sizeof failure.expected, format, arguments);
    va_end(arguments);
    throw failure;
}

// A negative count is refused: moving back would read the same lines again.
void ChunkCursor::skipBinaryBlock() {
    int32_t byteCount = reader_.intAt(reader_.tokenCount() - 2);
    if (byteCount < 0) fail(ParseError, "expected a byte count of 0 or more between \"[\" and \"]\"");
    source_.skip(static_cast<uint64_t>(byteCount));
}

namespace {

void prepare(BufferedLineReader& reader, ReadingMode mode) {
    if (mode == ReadingMode::Classic) return;
    reader.pairBytesAs(CodePage::ShiftJis);
    reader.readWholeLines();
}

}  // namespace
