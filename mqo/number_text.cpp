#include "mqo/number_text.h"

#include <charconv>
#include <limits>

namespace {

// The decimal number found at the start of a text, sign apart.
struct DecimalSpan {
    bool negative = false;
    std::string_view digits;  // [digits][.digits][e[sign]digits]
    bool hasDigits = false;   // false for ".", "-." and the like
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The white space that the C library skips before a number.
bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

size_t skipSpaceAndSign(std::string_view text, bool& negative) {
    size_t i = 0;
    while (i < text.size() && isSpace(text[i])) ++i;
    negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    return i;
}

size_t skipDigits(std::string_view text, size_t i) {
    while (i < text.size() && isDigit(text[i])) ++i;
    return i;
}

DecimalSpan findDecimal(std::string_view text) {
    DecimalSpan span;
    size_t start = skipSpaceAndSign(text, span.negative);
    size_t i = skipDigits(text, start);
    span.hasDigits = i > start;
    if (i < text.size() && text[i] == '.') {
        size_t fraction = i + 1;
        i = skipDigits(text, fraction);
        span.hasDigits = span.hasDigits || i > fraction;
    }
    if (span.hasDigits && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '-' || text[exponent] == '+')) ++exponent;
        size_t end = skipDigits(text, exponent);
        // An "e" without digits is not part of the number.
        if (end > exponent) i = end;
    }
    span.digits = text.substr(start, i - start);
    return span;
}

// Only called for a non-zero number too large or too small for a double:
// the position of its first significant digit tells which.
bool overflows(std::string_view digits) {
    size_t i = 0;
    int64_t magnitude = 0;
    while (i < digits.size() && digits[i] == '0') ++i;
    for (; i < digits.size() && isDigit(digits[i]); ++i) ++magnitude;
    if (i < digits.size() && digits[i] == '.') ++i;
    if (magnitude == 0) {
        for (; i < digits.size() && digits[i] == '0'; ++i) --magnitude;
    }
    i = skipDigits(digits, i);
    if (i < digits.size()) {
        // Past the e: the exponent, saturated far beyond any double's range.
        size_t k = i + 1;
        bool negative = digits[k] == '-';
        if (digits[k] == '-' || digits[k] == '+') ++k;
        int64_t exponent = 0;
        for (; k < digits.size() && exponent < 100000; ++k) exponent = exponent * 10 + (digits[k] - '0');
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude > 0;
}

}  // namespace

int32_t decimalToInt32(std::string_view text) {
    bool negative = false;
    size_t i = skipSpaceAndSign(text, negative);
    uint32_t value = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) value = value * 10 + static_cast<uint32_t>(text[i] - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

double decimalToDouble(std::string_view text) {
    DecimalSpan span = findDecimal(text);
    if (!span.hasDigits) return 0.0;
    double value = 0.0;
    const char* end = span.digits.data() + span.digits.size();
    auto [stop, error] = std::from_chars(span.digits.data(), end, value);
    if (error == std::errc::result_out_of_range)
        value = overflows(span.digits) ? std::numeric_limits<double>::infinity() : 0.0;
    return span.negative ? -value : value;
}
