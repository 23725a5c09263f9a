#include "mqo/line_tokenizer.h"

#include "mqo/number_text.h"

namespace {

enum ByteClass : uint8_t { Ordinary, LineEnd, Separator, Quote, Delimiter, LeadByte };

constexpr std::array<ByteClass, 256> byteClasses = [] {
    std::array<ByteClass, 256> table{};
    for (int byte = 0; byte < 256; ++byte) {
        if (LineTokenizer::isLeadByte(byte)) table[byte] = LeadByte;
        else if (byte < 128 && LineTokenizer::delimiterTable[byte]) table[byte] = Delimiter;
    }
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
    while (i < line.size()) {
        ByteClass byteClass = classOf(line[i]);
        if (byteClass == Ordinary) ++i;
        else if (byteClass == LeadByte) i = pairEnd(line, i);
        else break;
    }
    return i;
}

bool sameLetters(std::string_view token, std::string_view text) {
    if (token.size() != text.size()) return false;
    for (size_t i = 0; i < token.size(); ++i) {
        char a = token[i], b = text[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

}  // namespace

int LineTokenizer::split(std::string_view line) {
    size_t count = 0;
    size_t i = 0;
    while (i < line.size()) {
        switch (classOf(line[i])) {
        case Ordinary:
        case LeadByte: {
            size_t start = i;
            i = wordEnd(line, i);
            setToken(count++, std::string_view(line.data() + start, i - start));
            break;
        }
        case Separator:
            ++i;
            break;
        case Delimiter:
            setToken(count++, std::string_view(line.data() + i, 1));
            ++i;
            break;
        case Quote:
            i = splitQuoted(line, i + 1, count);
            break;
        case LineEnd:
            i = line.size();
            break;
        }
    }
    tokenCount_ = static_cast<int>(count);
    return tokenCount_;
}

bool LineTokenizer::keywordIs(std::string_view text, int minimum) const {
    return tokenCount_ >= minimum && tokenIs(0, text);
}

bool LineTokenizer::tokenIs(int index, std::string_view text) const {
    return index >= 0 && index < tokenCount_ && sameLetters(tokens_[index], text);
}

int32_t LineTokenizer::intAt(int index) const {
    return index >= 0 && index < tokenCount_ ? decimalToInt32(tokens_[index]) : 0;
}

double LineTokenizer::floatAt(int index) const {
    return index >= 0 && index < tokenCount_ ? decimalToDouble(tokens_[index]) : 0.0;
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
