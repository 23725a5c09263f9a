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
    return splitLine(line_);
}

int StreamLineReader::splitLine(std::string_view line) {
    ++linesRead_;
    return split(line);
}

int BufferedLineReader::readLine() {
    std::string_view piece = source().readPiece(LINE_PIECE_SIZE);
    if (piece.empty()) {
        markEndOfFile();
        return -1;
    }
    return splitLine(piece);
}
