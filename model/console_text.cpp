#include "model/console_text.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>

namespace {

const iconv_t NO_CONVERTER = reinterpret_cast<iconv_t>(-1);

bool isControlByte(unsigned char byte);
void convert(iconv_t converter, std::string_view bytes, std::string& out);

}  // namespace

std::string printableName(std::string_view bytes) {
    std::string result(bytes);
    for (char& c : result)
        if (isControlByte(static_cast<unsigned char>(c))) c = '?';
    return result;
}

void useLocaleEncoding() {
    std::setlocale(LC_CTYPE, "");
}

std::string convertText(std::string_view bytes, const char* from, const char* to) {
    iconv_t converter = iconv_open(to, from);
    if (converter == NO_CONVERTER) return std::string(bytes);
    std::string result;
    convert(converter, bytes, result);
    iconv_close(converter);
    return result;
}

std::string consoleText(std::string_view bytes, const char* codeset) {
    const std::string target = std::string(nl_langinfo(CODESET)) + "//TRANSLIT";
    return printableName(convertText(bytes, codeset, target.c_str()));
}

namespace {

bool isControlByte(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// Bytes that don't convert become '?' one at a time, and the rest goes on.
void convert(iconv_t converter, std::string_view bytes, std::string& out) {
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
            out += '?';
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char chunk[64];
    char* chunkEnd = chunk;
    size_t chunkLeft = sizeof chunk;
    iconv(converter, nullptr, nullptr, &chunkEnd, &chunkLeft);
    out.append(chunk, chunkEnd);
}

}  // namespace
