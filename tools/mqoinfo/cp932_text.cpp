#include "tools/mqoinfo/cp932_text.h"

#include <cerrno>

namespace {

constexpr std::string_view REPLACEMENT_CHARACTER = "\xEF\xBF\xBD";
const iconv_t NO_CONVERTER = reinterpret_cast<iconv_t>(-1);

// Without the C library's code page 932 tables only ASCII can be trusted.
void appendAsciiOnly(std::string_view bytes, std::string& out) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) < 0x80)
            out += c;
        else
            out += REPLACEMENT_CHARACTER;
}

}  // namespace

Cp932Decoder::Cp932Decoder() : converter(iconv_open("UTF-8", "CP932")) {}

Cp932Decoder::~Cp932Decoder() {
    if (converter != NO_CONVERTER) iconv_close(converter);
}

void Cp932Decoder::appendUtf8(std::string_view bytes, std::string& out) {
    if (converter == NO_CONVERTER) {
        appendAsciiOnly(bytes, out);
        return;
    }
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    // iconv never writes through its input pointer; the cast only fits its
    // old C signature.
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char chunk[1024];
        char* chunkEnd = chunk;
        size_t chunkLeft = sizeof chunk;
        size_t converted = iconv(converter, &in, &inLeft, &chunkEnd, &chunkLeft);
        out.append(chunk, chunkEnd);
        if (converted == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid pair or a lead byte cut off at the end: give up on
            // this one byte and read on from the next.
            out += REPLACEMENT_CHARACTER;
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
}
