#include "tools/mqoinfo/quoted_text.h"

void QuotedTextWriter::write(std::string_view bytes, OutputBuffer& out) {
    utf8.clear();
    decoder.append(bytes, utf8);
    appendJsonString(utf8, out);
}

void appendJsonString(std::string_view utf8, OutputBuffer& out) {
    static const char HEX_DIGITS[] = "0123456789abcdef";
    out.append('"');
    for (char c : utf8) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.append('\\');
            out.append(c);
        } else if (byte < 0x20) {
            char escape[] = {'\\', 'u', '0', '0', HEX_DIGITS[byte >> 4], HEX_DIGITS[byte & 15]};
            out.append(std::string_view(escape, sizeof escape));
        } else {
            out.append(c);
        }
    }
    out.append('"');
}
