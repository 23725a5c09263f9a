// Names and file names in a model are code page 932 (Shift JIS) bytes; the
// people and scripts reading mqoinfo's output expect UTF-8.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

class Cp932Decoder {
public:
    Cp932Decoder();
    ~Cp932Decoder();
    Cp932Decoder(const Cp932Decoder&) = delete;
    Cp932Decoder& operator=(const Cp932Decoder&) = delete;

    // Appends `bytes` to `out` as UTF-8. Every byte that does not decode
    // becomes U+FFFD, so the result is valid UTF-8 whatever the model holds.
    void appendUtf8(std::string_view bytes, std::string& out);

private:
    iconv_t converter;
};
