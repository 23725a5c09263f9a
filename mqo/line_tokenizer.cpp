#include "mqo/line_tokenizer.h"

#include <algorithm>
#include <new>

namespace {

enum ByteClass : uint8_t { Ordinary, LineEnd, Separator, Quote, Delimiter, LeadByte };

}  // namespace

struct BytePairing {
    std::array<ByteClass, 256> classes;
    // The bytes a lead byte takes as the second half of its character.
    std::array<bool, 256> trails;
};

namespace {

constexpr BytePairing makePairing(CodePage page, bool anyTrail) {
    BytePairing pairing{};
    for (int byte = 0; byte < 256; ++byte) {
        if (isLeadByte(page, byte))
            pairing.classes[byte] = LeadByte;
        else if (byte < 128 && LineTokenizer::delimiterTable[byte])
            pairing.classes[byte] = Delimiter;
        // NOTE: the classic rule takes even a line feed as a trail byte;
        // only the end of the text cuts a pair.
        pairing.trails[byte] = anyTrail ? byte != '\0' : isTrailByte(page, byte);
    }
    pairing.classes['\0'] = pairing.classes['\n'] = pairing.classes['\r'] = LineEnd;
    pairing.classes['\t'] = pairing.classes[' '] = Separator;
    pairing.classes[static_cast<unsigned char>(LineTokenizer::quoteChar)] = Quote;
    return pairing;
}

constexpr BytePairing CLASSIC_PAIRING = makePairing(CodePage::ShiftJis, true);
// By the order of CodePage.
constexpr BytePairing CODE_PAGE_PAIRINGS[] = {
    makePairing(CodePage::ShiftJis, false), makePairing(CodePage::Gbk, false),  makePairing(CodePage::Uhc, false),
    makePairing(CodePage::Big5, false),     makePairing(CodePage::Utf8, false),
};

}  // namespace

LineTokenizer::LineTokenizer() : pairing_(&CLASSIC_PAIRING) {}

void LineTokenizer::pairBytesAs(CodePage page) {
    pairing_ = &CODE_PAGE_PAIRINGS[static_cast<size_t>(page)];
}

// The classes are tested in the order they most often start a step in
// model text: a chain of tests predicts better than a jump table here.
int LineTokenizer::split(std::string_view line) {
    if (line.size() > UINT32_MAX) throw std::bad_alloc();
    line_ = line.data();
    const std::array<ByteClass, 256>& classes = pairing_->classes;
    size_t count = 0;
    size_t i = 0;
    const size_t size = line.size();
    const char* bytes = line.data();
    while (i < size) {
        ByteClass byteClass = classes[static_cast<unsigned char>(bytes[i])];
        if (byteClass == Separator) {
            ++i;
        } else if (byteClass == Ordinary || byteClass == LeadByte) {
            size_t start = i;
            i = wordEnd(line, i);
            setToken(count++, start, i);
        } else if (byteClass == Delimiter) {
            setToken(count++, i, i + 1);
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

// The end of a token outside quotes: a run of ordinary bytes and pairs.
size_t LineTokenizer::wordEnd(std::string_view line, size_t i) const {
    const std::array<ByteClass, 256>& classes = pairing_->classes;
    const char* bytes = line.data();
    const size_t size = line.size();
    for (;;) {
        while (i < size && classes[static_cast<unsigned char>(bytes[i])] == Ordinary) ++i;
        if (i == size || classes[static_cast<unsigned char>(bytes[i])] != LeadByte) return i;
        i = pairEnd(line, i);
    }
}

// The position after the character that starts at the lead byte `lead`: the
// pair, or the lead byte alone when no trail byte follows it.
size_t LineTokenizer::pairEnd(std::string_view line, size_t lead) const {
    const bool paired = lead + 1 < line.size() && pairing_->trails[static_cast<unsigned char>(line[lead + 1])];
    return paired ? lead + 2 : lead + 1;
}

// Reads a quoted text that starts at `start`, right after the opening quote.
// Returns where splitting goes on: after the closing quote, or the end of the
// line when the quote is left open.
size_t LineTokenizer::splitQuoted(std::string_view line, size_t start, size_t& count) {
    const std::array<ByteClass, 256>& classes = pairing_->classes;
    size_t i = start;
    while (i < line.size()) {
        const ByteClass byteClass = classes[static_cast<unsigned char>(line[i])];
        if (byteClass == LeadByte) {
            i = pairEnd(line, i);
        } else if (byteClass == Quote) {
            // Even "" is a token: an empty name is still a name.
            setToken(count++, start, i);
            return i + 1;
        } else if (byteClass == LineEnd) {
            break;
        } else {
            ++i;
        }
    }
    if (i > start) setToken(count++, start, i);
    return line.size();
}

// Grows at least geometrically, so that a line of many tokens costs few
// copies of the table. The new slots are left as they are: a big table's
// pages cost nothing until tokens are written there.
void LineTokenizer::growTable(size_t slots) {
    size_t capacity = std::max(slots, 2 * capacity_);
    std::unique_ptr<TokenSpan[]> table(new TokenSpan[capacity]);
    std::copy_n(tokens_.get(), capacity_, table.get());
    tokens_ = std::move(table);
    capacity_ = capacity;
}
