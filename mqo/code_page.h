// The character sets a model's names and file names are written in, as its
// CodePage line says: which bytes pair up into one character when a line is
// cut into tokens, and how the names convert to UTF-8 for people to read.
#pragma once

#include <iconv.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class CodePage : uint8_t {
    ShiftJis,  // 932, also what a model without a CodePage line is written in
    Gbk,       // 936
    Uhc,       // 949
    Big5,      // 950
    Utf8,      // utf8, utf-8 or 65001: no byte pairs
};

// The code page a CodePage line names, letters in any case; none for a name
// the viewer does not know.
std::optional<CodePage> codePageNamed(std::string_view name);
// The code page as a CodePage line writes it: "932", "936", "949", "950" or
// "utf8".
const char* codePageLabel(CodePage page);
// The character set's name for iconv: "CP932", "CP936", "CP949", "CP950" or
// "UTF-8".
const char* iconvName(CodePage page);

// The first byte of a double-byte character.
constexpr bool isLeadByte(CodePage page, unsigned char byte) {
    switch (page) {
    case CodePage::ShiftJis: return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case CodePage::Gbk:
    case CodePage::Uhc:
    case CodePage::Big5: return byte >= 0x81 && byte <= 0xFE;
    case CodePage::Utf8: return false;
    }
    return false;
}

// A byte that may follow a lead byte as the second half of its character.
constexpr bool isTrailByte(CodePage page, unsigned char byte) {
    switch (page) {
    case CodePage::ShiftJis: return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFC);
    case CodePage::Gbk: return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0x80 && byte <= 0xFE);
    case CodePage::Uhc:
        return (byte >= 0x41 && byte <= 0x5A) || (byte >= 0x61 && byte <= 0x7A) || (byte >= 0x81 && byte <= 0xFE);
    case CodePage::Big5: return (byte >= 0x40 && byte <= 0x7E) || (byte >= 0xA1 && byte <= 0xFE);
    case CodePage::Utf8: return false;
    }
    return false;
}

// Converts text from one character set to another (iconv names), giving up
// on one byte at a time: each byte that does not convert becomes the
// replacement, and converting goes on with the next.
class TextConverter {
public:
    TextConverter(const char* from, const char* to);
    ~TextConverter();
    TextConverter(const TextConverter&) = delete;
    TextConverter& operator=(const TextConverter&) = delete;

    // False when the C library knows no such conversion.
    bool usable() const;
    // Appends `bytes`, converted, to `out`.
    void append(std::string_view bytes, std::string_view replacement, std::string& out);

private:
    iconv_t converter_;
};

// Names in a model's code page as UTF-8. Each byte that does not decode
// becomes U+FFFD, so the result is valid UTF-8 whatever the model holds.
class Utf8Decoder {
public:
    explicit Utf8Decoder(CodePage page);

    void append(std::string_view bytes, std::string& out);

private:
    CodePage page_;
    TextConverter converter_;
};

std::string toUtf8(std::string_view bytes, CodePage page);
