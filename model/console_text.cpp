#include "model/console_text.h"

#include <langinfo.h>

#include <clocale>

#include "mqo/code_page.h"

namespace {

bool isControlByte(unsigned char byte);

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
    TextConverter converter(from, to);
    if (!converter.usable()) return std::string(bytes);
    std::string result;
    converter.append(bytes, "?", result);
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

}  // namespace
