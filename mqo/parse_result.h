// How reading a model file ended, and the word the console shows for each
// failure.
#pragma once

#include <cstdint>

enum ParseResult : int32_t {
    ParseOk = 0,
    ParseError = -1,
    ParseEof = -2,
    ParseHeaderError = -3,
    ParseFormatError = -4,
};

// "Error", "EOF", "Header Error" or "Format Error"; null for success and for
// codes the reader never returns.
constexpr const char* parseFailureMessage(int32_t result) {
    switch (result) {
    case ParseError: return "Error";
    case ParseEof: return "EOF";
    case ParseHeaderError: return "Header Error";
    case ParseFormatError: return "Format Error";
    default: return nullptr;
    }
}
