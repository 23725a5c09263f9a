// Decimal numbers in model text, converted the same way on every machine and
// in every locale: no hexadecimal, no "inf" or "nan", the full stop is the
// decimal point. Both conversions read a leading number and ignore the rest;
// text that does not start like a number gives 0.
#pragma once

#include <cstdint>
#include <string_view>

// Optional white space, an optional sign and decimal digits. Digits are
// gathered in 32 bits without an overflow check, so "4294967295" gives -1:
// colour words in faces rely on keeping their exact bit pattern.
int32_t decimalToInt32(std::string_view text);
// The same for the number at the start of [text, end): returns where it ends,
// or `text` itself, with `value` 0, when no digit starts there.
inline const char* readInt32(const char* text, const char* end, int32_t& value);

// Optional white space, an optional sign, digits with an optional fraction,
// and an optional exponent. Correctly rounded; too large a value gives an
// infinity, too small a value a zero or a denormal.
double decimalToDouble(std::string_view text);
// The same for the number at the start of [text, end): returns where it ends,
// or `text` itself, with `value` 0, when no number starts there.
inline const char* readDecimal(const char* text, const char* end, double& value);

// Inline below: the readers of plain lines read most numbers of a model
// through these, and most numbers are short.

// An optional minus and at most 15 digits, with or without a fraction, and
// no exponent, read as readDecimal reads them; nullptr for any other text.
inline const char* readShortDecimal(const char* text, const char* end, double& value);
// readDecimal for any text.
const char* readLongDecimal(const char* text, const char* end, double& value);

inline bool isDecimalDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// Appends the digits at `p` to `digits`, wrapping past 19 of them; returns
// where they end.
inline const char* gatherDigits(const char* p, const char* end, uint64_t& digits) {
    uint64_t gathered = digits;
    for (; p < end; ++p) {
        const auto digit = static_cast<unsigned char>(*p - '0');
        if (digit > 9) break;
        gathered = gathered * 10 + digit;
    }
    digits = gathered;
    return p;
}

// The white space that the C library skips before a number, then the sign.
inline const char* skipSpaceAndSign(const char* p, const char* end, bool& negative) {
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    return p;
}

inline const char* readInt32(const char* text, const char* end, int32_t& value) {
    bool negative = false;
    const char* digits = skipSpaceAndSign(text, end, negative);
    uint64_t gathered = 0;
    const char* p = gatherDigits(digits, end, gathered);
    // Wrapped in 64 bits and then cut to 32: the same as wrapping in 32.
    const auto unsignedValue = static_cast<uint32_t>(gathered);
    value = static_cast<int32_t>(negative ? 0u - unsignedValue : unsignedValue);
    return p == digits ? text : p;
}

// Powers of ten that a double holds exactly.
inline constexpr double EXACT_POWERS_OF_TEN[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

inline const char* readShortDecimal(const char* p, const char* end, double& value) {
    // Any number of this many digits is below 2^53: an exact double, which
    // one division by an exact power of ten rounds correctly.
    constexpr int64_t SHORT_DIGITS = 15;
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    uint64_t digits = 0;
    const char* integerEnd = gatherDigits(p, end, digits);
    const char* fractionEnd = integerEnd;
    if (integerEnd < end && *integerEnd == '.') fractionEnd = gatherDigits(integerEnd + 1, end, digits);
    const int64_t fractionDigits = integerEnd == fractionEnd ? 0 : fractionEnd - integerEnd - 1;
    const int64_t count = (integerEnd - p) + fractionDigits;
    if (count == 0 || count > SHORT_DIGITS || (fractionEnd < end && (*fractionEnd == 'e' || *fractionEnd == 'E')))
        return nullptr;
    const double absolute = static_cast<double>(digits) / EXACT_POWERS_OF_TEN[fractionDigits];
    value = negative ? -absolute : absolute;
    return fractionEnd;
}

inline const char* readDecimal(const char* text, const char* end, double& value) {
    const char* shortEnd = readShortDecimal(text, end, value);
    return shortEnd != nullptr ? shortEnd : readLongDecimal(text, end, value);
}
