// Checks on printed JSON text shared by the tests and the fuzz target: the
// output must stay valid UTF-8 and well nested whatever the model holds.
#pragma once

#include <cstdint>
#include <string_view>

// True when `text` is well-formed UTF-8 with no overlong forms or surrogates.
inline bool isValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const int length = lead < 0x80 ? 1 : (lead >> 5) == 6 ? 2 : (lead >> 4) == 14 ? 3 : (lead >> 3) == 30 ? 4 : 0;
        if (length == 0 || i + length > text.size()) return false;
        uint32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (int k = 1; k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        i += length;
    }
    return true;
}

// True when brackets and braces outside strings nest and close, strings are
// closed, and no raw control character appears before the final line feed.
inline bool isWellNestedJsonLine(std::string_view text) {
    if (text.empty() || text.back() != '\n') return false;
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) < 0x20) return false;
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if ((c == ']' || c == '}') && --depth < 0) {
            return false;
        }
    }
    return depth == 0 && !inString;
}
