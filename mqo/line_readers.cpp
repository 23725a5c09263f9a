#include "mqo/line_readers.h"

int StreamLineReader::readLine() {
    line_.clear();
    int byte = source_.readByte();
    if (byte < 0) {
        markEndOfFile();
        return -1;
    }
    for (; byte >= 0 && byte != '\n'; byte = source_.readByte()) {
        if (byte == '\r') {
            if (source_.peekByte() == '\n') source_.readByte();
            break;
        }
        line_.push_back(static_cast<char>(byte));
        // A line feed right after a lead byte is its trail byte.
        if (isLeadByte(static_cast<unsigned char>(byte))) {
            int trail = source_.readByte();
            if (trail < 0) break;
            line_.push_back(static_cast<char>(trail));
        }
    }
    countLine();
    return split(line_);
}

int BufferedLineReader::readLine() {
    std::string_view text = readText();
    return tokenCount() < 0 ? -1 : split(text);
}

std::string_view BufferedLineReader::readText() {
    std::string_view piece = source().readPiece(pieceSize_);
    if (piece.empty())
        markEndOfFile();
    else
        countLine();
    return piece;
}
