// Keywords and names in model text compare ignoring the case of the ASCII
// letters A-Z only: no other byte, in any code page, is compared loosely.
#pragma once

#include <string_view>

constexpr char foldAsciiLetter(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr bool sameIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (foldAsciiLetter(a[i]) != foldAsciiLetter(b[i])) return false;
    return true;
}
