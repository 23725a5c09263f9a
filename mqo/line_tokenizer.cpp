#include "mqo/line_tokenizer.h"

#include <algorithm>

namespace {

enum ByteClass : uint8_t { Ordinary, LineEnd, Separator, Quote, Delimiter, LeadByte };

constexpr std::array<ByteClass, 256> byteClasses = [] {
    std::array<ByteClass, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        if (LineTokenizer::isLeadByte(byte))
            table[byte] = LeadByte;
        else if (byte < 128 && LineTokenizer::delimiterTable[byte])
            table[byte] = Delimiter;
    table['\0'] = table['\n'] = table['\r'] = LineEnd;
    table['\t'] = table[' '] = Separator;
    table[static_cast<unsigned char>(LineTokenizer::quoteChar)] = Quote;
    return table;
}();

ByteClass classOf(char byte) {
    return byteClasses[static_cast<unsigned char>(byte)];
}

// The position after the double-byte pair that starts at `lead`. Only the end
// of the text cuts a pair; the lead byte then stays in its token.
size_t pairEnd(std::string_view line, size_t lead) {
    bool hasTrail = lead + 1 < line.size() && line[lead + 1] != '\0';
    return hasTrail ? lead + 2 : lead + 1;
}

// The end of a token outside quotes: a run of ordinary bytes and pairs.
size_t wordEnd(std::string_view line, size_t i) {
    const char* bytes = line.data();
    const size_t size = line.size();
    for (;;) {
        while (i < size && classOf(bytes[i]) == Ordinary) ++i;
        if (i == size || classOf(bytes[i]) != LeadByte) return i;
        i = pairEnd(line, i);
    }
}

}  // namespace

// The classes are tested in the order they most often start a step in
// model text: a chain of tests predicts better than a jump table here.
int LineTokenizer::split(std::string_view line) {
    size_t count = 0;
    size_t i = 0;
    const size_t size = line.size();
    const char* bytes = line.data();
    while (i < size) {
        ByteClass byteClass = classOf(bytes[i]);
        if (byteClass == Separator) {
            ++i;
        } else if (byteClass == Ordinary || byteClass == LeadByte) {
            size_t start = i;
            i = wordEnd(line, i);
            setToken(count++, std::string_view(bytes + start, i - start));
        } else if (byteClass == Delimiter) {
            setToken(count++, std::string_view(bytes + i, 1));
            ++i;
        } else if (byteClass == Quote) {
            i = splitQuoted(line, i + 1, count);
        } else {
            break;  // a NUL, line feed or carriage return ends the line
        }
    }
    tokenCount_ = static_cast<int>(count);
    return tokenCount_;
}

// Reads a quoted text that starts at `start`, right after the opening quote.
// Returns where splitting goes on: after the closing quote, or the end of the
// line when the quote is left open.
size_t LineTokenizer::splitQuoted(std::string_view line, size_t start, size_t& count) {
    size_t i = start;
    while (i < line.size()) {
        char byte = line[i];
        if (isLeadByte(static_cast<unsigned char>(byte))) {
            i = pairEnd(line, i);
        } else if (byte == quoteChar) {
            // Even "" is a token: an empty name is still a name.
            setToken(count++, std::string_view(line.data() + start, i - start));
            return i + 1;
        } else if (classOf(byte) == LineEnd) {
            break;
        } else {
            ++i;
        }
    }
    if (i > start) setToken(count++, std::string_view(line.data() + start, i - start));
    return line.size();
}

// Grows at least geometrically, so that a line of many tokens costs few
// copies of the table.
void LineTokenizer::growTable(size_t slots) {
    size_t capacity = std::max(slots, 2 * capacity_);
    std::unique_ptr<std::string_view[]> table(new std::string_view[capacity]);
    std::copy_n(tokens_.get(), capacity_, table.get());
    tokens_ = std::move(table);
    capacity_ = capacity;
}
