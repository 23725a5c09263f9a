#include "mqo/code_page.h"

#include <cerrno>

#include "mqo/ascii_case.h"

namespace {

struct CodePageName {
    std::string_view name;
    CodePage page;
};

constexpr CodePageName CODE_PAGE_NAMES[] = {
    {"932", CodePage::ShiftJis}, {"936", CodePage::Gbk},    {"949", CodePage::Uhc},    {"950", CodePage::Big5},
    {"utf8", CodePage::Utf8},    {"utf-8", CodePage::Utf8}, {"65001", CodePage::Utf8},
};

constexpr std::string_view REPLACEMENT_CHARACTER = "\xEF\xBF\xBD";
const iconv_t NO_CONVERTER = reinterpret_cast<iconv_t>(-1);

void appendWellFormedUtf8(std::string_view bytes, std::string& out);
size_t wellFormedLength(std::string_view bytes);

}  // namespace

std::optional<CodePage> codePageNamed(std::string_view name) {
    for (const CodePageName& known : CODE_PAGE_NAMES)
        if (sameIgnoringAsciiCase(name, known.name)) return known.page;
    return std::nullopt;
}

const char* codePageLabel(CodePage page) {
    switch (page) {
    case CodePage::ShiftJis: return "932";
    case CodePage::Gbk: return "936";
    case CodePage::Uhc: return "949";
    case CodePage::Big5: return "950";
    case CodePage::Utf8: return "utf8";
    }
    return "932";
}

const char* iconvName(CodePage page) {
    switch (page) {
    case CodePage::ShiftJis: return "CP932";
    case CodePage::Gbk: return "CP936";
    case CodePage::Uhc: return "CP949";
    case CodePage::Big5: return "CP950";
    case CodePage::Utf8: return "UTF-8";
    }
    return "CP932";
}

TextConverter::TextConverter(const char* from, const char* to) : converter_(iconv_open(to, from)) {}

TextConverter::~TextConverter() {
    if (usable()) iconv_close(converter_);
}

bool TextConverter::usable() const {
    return converter_ != NO_CONVERTER;
}

void TextConverter::append(std::string_view bytes, std::string_view replacement, std::string& out) {
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    // iconv never writes through its input pointer; the cast only fits its
    // old C signature.
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char chunk[1024];
    while (inLeft > 0) {
        char* chunkEnd = chunk;
        size_t chunkLeft = sizeof chunk;
        const size_t converted = iconv(converter_, &in, &inLeft, &chunkEnd, &chunkLeft);
        out.append(chunk, chunkEnd);
        if (converted == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid pair, or a lead byte cut off at the end: give up on
            // this one byte and read on from the next.
            out += replacement;
            ++in;
            --inLeft;
            iconv(converter_, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* chunkEnd = chunk;
    size_t chunkLeft = sizeof chunk;
    iconv(converter_, nullptr, nullptr, &chunkEnd, &chunkLeft);
    out.append(chunk, chunkEnd);
}

Utf8Decoder::Utf8Decoder(CodePage page) : page_(page), converter_(iconvName(page), "UTF-8") {}

// NOTE: UTF-8 is checked here, not by iconv, which lets through sequences
// for numbers beyond Unicode.
void Utf8Decoder::append(std::string_view bytes, std::string& out) {
    if (page_ == CodePage::Utf8) {
        appendWellFormedUtf8(bytes, out);
        return;
    }
    if (converter_.usable()) {
        converter_.append(bytes, REPLACEMENT_CHARACTER, out);
        return;
    }
    // Without the C library's tables only ASCII can be trusted.
    for (char c : bytes)
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += REPLACEMENT_CHARACTER;
}

std::string toUtf8(std::string_view bytes, CodePage page) {
    std::string out;
    Utf8Decoder(page).append(bytes, out);
    return out;
}

namespace {

void appendWellFormedUtf8(std::string_view bytes, std::string& out) {
    for (size_t i = 0; i < bytes.size();) {
        const size_t length = wellFormedLength(bytes.substr(i));
        if (length == 0) {
            out += REPLACEMENT_CHARACTER;
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
}

// The length of the well-formed UTF-8 character that `bytes` starts with, as
// the Unicode standard's table of well-formed byte sequences has them; 0
// when they start with none.
size_t wellFormedLength(std::string_view bytes) {
    const auto byte = [&](size_t k) {
        return static_cast<unsigned char>(bytes[k]);
    };
    unsigned char low = 0x80, high = 0xBF;  // the second byte's range
    size_t length = 0;
    if (byte(0) < 0x80) {
        return 1;
    } else if (byte(0) >= 0xC2 && byte(0) <= 0xDF) {
        length = 2;
    } else if (byte(0) >= 0xE0 && byte(0) <= 0xEF) {
        length = 3;
        if (byte(0) == 0xE0) low = 0xA0;   // no overlong forms
        if (byte(0) == 0xED) high = 0x9F;  // no surrogates
    } else if (byte(0) >= 0xF0 && byte(0) <= 0xF4) {
        length = 4;
        if (byte(0) == 0xF0) low = 0x90;
        if (byte(0) == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
        return 0;
    }
    if (bytes.size() < length || byte(1) < low || byte(1) > high) return 0;
    for (size_t k = 2; k < length; ++k)
        if ((byte(k) & 0xC0) != 0x80) return 0;
    return length;
}

}  // namespace
