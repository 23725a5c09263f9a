// The common vertex and face lines, read straight from their bytes: ASCII
// numbers and words between spaces, tabs and parentheses. The scanner only
// reads tokens whose text it can tell exactly, the same tokens that
// LineTokenizer would cut, converted the same way; on anything else its
// reader gives up and the line is cut into tokens the ordinary way, which
// is what defines every line's meaning.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "mqo/ascii_case.h"
#include "mqo/line_tokenizer.h"
#include "mqo/number_text.h"

class PlainLine {
public:
    explicit PlainLine(std::string_view text) : at_(text.data()), end_(text.data() + text.size()) {}

    // Passes over spaces and tabs.
    void skipSeparators() {
        while (at_ < end_ && (*at_ == ' ' || *at_ == '\t')) ++at_;
    }
    // No token is left: the text ends here, or the line does (at a line
    // feed, carriage return or NUL).
    bool atEnd() const { return at_ == end_ || *at_ == '\n' || *at_ == '\r' || *at_ == '\0'; }
    // A quoted token starts here: its text is not the bytes as they lie.
    bool atQuote() const { return at_ < end_ && *at_ == LineTokenizer::quoteChar; }

    // The token here is `word`, in any case of its letters.
    bool at(std::string_view word) const {
        const size_t left = static_cast<size_t>(end_ - at_);
        return left >= word.size() && foldAsciiLetter(*at_) == foldAsciiLetter(word[0]) &&
               sameIgnoringAsciiCase(std::string_view(at_, word.size()), word) && endsToken(at_ + word.size());
    }
    bool take(std::string_view word) {
        if (!at(word)) return false;
        at_ += word.size();
        return true;
    }
    // The delimiter `c` is here: always a token of its own.
    bool take(char delimiter) {
        if (at_ == end_ || *at_ != delimiter) return false;
        ++at_;
        return true;
    }
    // The number token here, converted as LineTokenizer::intAt converts it;
    // false, not moving on, when the token here is no whole number.
    bool takeInt(int32_t& value) { return startsNumber() && takeNumber(readInt32(at_, end_, value)); }
    // The same as LineTokenizer::floatAt converts it.
    bool takeDecimal(double& value) { return startsNumber() && takeNumber(readDecimal(at_, end_, value)); }

private:
    static constexpr std::array<bool, 256> TOKEN_ENDS = [] {
        std::array<bool, 256> ends{};
        for (int byte = 0; byte < 128; ++byte) ends[byte] = LineTokenizer::delimiterTable[byte];
        for (char c : std::string_view("\0\n\r\t \"", 6)) ends[static_cast<unsigned char>(c)] = true;
        return ends;
    }();

    // NOTE: the conversions pass over white space that would end the line.
    bool startsNumber() const {
        return at_ < end_ && ((*at_ >= '0' && *at_ <= '9') || *at_ == '-' || *at_ == '+' || *at_ == '.');
    }
    // A token ends right before `p`.
    bool endsToken(const char* p) const { return p == end_ || TOKEN_ENDS[static_cast<unsigned char>(*p)]; }
    bool takeNumber(const char* numberEnd) {
        if (numberEnd == at_ || !endsToken(numberEnd)) return false;
        at_ = numberEnd;
        return true;
    }

    const char* at_;
    const char* end_;
};

// The first three tokens of a line when they are plain numbers, converted as
// LineTokenizer::floatAt converts them: a vertex line; false for any other.
inline bool readPlainPoint(std::string_view text, double (&point)[3]) {
    PlainLine line(text);
    for (double& coordinate : point) {
        line.skipSeparators();
        if (!line.takeDecimal(coordinate)) return false;
    }
    return true;
}
