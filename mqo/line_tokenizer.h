// Cuts one line of model text into tokens. Names and paths may hold
// double-byte characters, whose two bytes stay together: a trail byte that
// looks like a bracket, a brace or a quote never cuts a token.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "mqo/ascii_case.h"
#include "mqo/code_page.h"
#include "mqo/number_text.h"

// Which bytes start a double-byte character and which may end one.
struct BytePairing;

class LineTokenizer {
public:
    // The characters that are tokens of their own outside quotes.
    static constexpr std::array<bool, 128> delimiterTable = [] {
        std::array<bool, 128> table{};
        for (char c : std::string_view("():;=[]{},")) table[static_cast<unsigned char>(c)] = true;
        return table;
    }();
    static constexpr char quoteChar = '"';

    // Lead bytes of code page 932 (Shift JIS), the classic rule's.
    static constexpr bool isLeadByte(unsigned char byte) { return ::isLeadByte(CodePage::ShiftJis, byte); }

    LineTokenizer();
    virtual ~LineTokenizer() = default;

    // The classic rule, until this is called: a Shift JIS lead byte takes
    // whatever byte follows it. From then on a lead byte of `page` takes the
    // next byte only when that is one of the page's trail bytes, so a name
    // that ends in a lead byte no longer swallows its closing quote.
    void pairBytesAs(CodePage page);

    // Cuts `line` into tokens and returns their number. The line ends at its
    // first NUL, line feed or carriage return (outside a double-byte pair).
    // Tokens are views into `line`: it must stay unchanged while they are used.
    // A line of 4 GiB or more throws std::bad_alloc, as running out of memory
    // would.
    int split(std::string_view line);
    // Tokens of the current line; -1 once reading met the end of the file.
    int tokenCount() const { return tokenCount_; }
    // Token `index`, which must be below tokenCount().
    std::string_view tokenAt(int index) const { return {line_ + tokens_[index].start, tokens_[index].length}; }

    // Keyword tests fold the ASCII letters A-Z only, so "Scene" matches
    // "scene" and "SCENE" but no other byte is compared loosely.
    bool keywordIs(std::string_view text, int minimum) const { return tokenCount_ >= minimum && tokenIs(0, text); }
    bool tokenIs(int index, std::string_view text) const {
        return index >= 0 && index < tokenCount_ && sameIgnoringAsciiCase(tokenAt(index), text);
    }
    // Token `index` as a number; 0 for a token past the end of the line.
    int32_t intAt(int index) const { return index >= 0 && index < tokenCount_ ? decimalToInt32(tokenAt(index)) : 0; }
    double floatAt(int index) const {
        return index >= 0 && index < tokenCount_ ? decimalToDouble(tokenAt(index)) : 0.0;
    }

protected:
    void markEndOfFile() { tokenCount_ = -1; }

private:
    size_t wordEnd(std::string_view line, size_t i) const;
    size_t pairEnd(std::string_view line, size_t lead) const;
    size_t splitQuoted(std::string_view line, size_t start, size_t& count);
    // Makes bytes `start` to `end` of the line token `index`.
    void setToken(size_t index, size_t start, size_t end) {
        if (index >= capacity_) growTable(index + 1);
        tokens_[index] = {static_cast<uint32_t>(start), static_cast<uint32_t>(end - start)};
    }
    void growTable(size_t slots);

    // Where a token lies in the line: a whole line of one-byte tokens costs
    // four times its length here.
    struct TokenSpan {
        uint32_t start;
        uint32_t length;
    };

    const char* line_ = nullptr;
    // Never shrinks; slots past tokenCount_ may hold tokens of earlier lines.
    std::unique_ptr<TokenSpan[]> tokens_;
    const BytePairing* pairing_;
    size_t capacity_ = 0;
    int tokenCount_ = 0;
};
