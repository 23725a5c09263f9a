#include "mqo/number_text.h"

#include <charconv>
#include <limits>

namespace {

// A decimal number as its first 19 significant digits times a power of ten.
struct Decimal {
    uint64_t mantissa = 0;
    int64_t exponent = 0;
    int significantDigits = 0;
    bool exact = true;  // false when later digits were dropped
};

// Powers of ten that a double holds exactly.
constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int64_t LARGEST_EXACT_POWER = 22;
constexpr uint64_t LARGEST_EXACT_MANTISSA = uint64_t{1} << 53;
constexpr int MANTISSA_DIGITS = 19;  // always fit in 64 bits
// Far beyond any double's range, so that saturating changes no result.
constexpr int64_t EXPONENT_LIMIT = 100000;

inline bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// The white space that the C library skips before a number, then the sign.
inline const char* skipSpaceAndSign(const char* p, const char* end, bool& negative) {
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    return p;
}

// Digits before the decimal point scale the dropped ones up; digits after it
// scale the kept ones down.
inline const char* gatherDigits(const char* p, const char* end, Decimal& decimal, bool fraction) {
    for (; p < end && isDigit(*p); ++p) {
        if (decimal.significantDigits == MANTISSA_DIGITS) {
            decimal.exact = false;
            decimal.exponent += !fraction;
            continue;
        }
        decimal.mantissa = decimal.mantissa * 10 + static_cast<uint64_t>(*p - '0');
        decimal.significantDigits += decimal.mantissa != 0;
        decimal.exponent -= fraction;
    }
    return p;
}

// An "e" without digits after it is not part of the number.
const char* readExponent(const char* p, const char* end, Decimal& decimal) {
    if (p == end || (*p != 'e' && *p != 'E')) return p;
    const char* digits = p + 1;
    bool negative = digits < end && *digits == '-';
    if (digits < end && (*digits == '-' || *digits == '+')) ++digits;
    if (digits == end || !isDigit(*digits)) return p;
    int64_t exponent = 0;
    for (; digits < end && isDigit(*digits); ++digits) {
        if (exponent < EXPONENT_LIMIT) exponent = exponent * 10 + (*digits - '0');
    }
    decimal.exponent += negative ? -exponent : exponent;
    return digits;
}

// Clinger's fast path: a mantissa and a power of ten that are both exact
// doubles give the correctly rounded value in one operation; other numbers
// go the long way.
double convert(const Decimal& decimal, const char* text, const char* end) {
    bool exactOperands = decimal.exact && decimal.mantissa <= LARGEST_EXACT_MANTISSA;
    if (exactOperands && decimal.exponent >= -LARGEST_EXACT_POWER && decimal.exponent <= LARGEST_EXACT_POWER) {
        double mantissa = static_cast<double>(decimal.mantissa);
        return decimal.exponent < 0 ? mantissa / exactPowersOfTen[-decimal.exponent]
                                    : mantissa * exactPowersOfTen[decimal.exponent];
    }
    double value = 0.0;
    // Only a non-zero number far beyond a double's range is out of range:
    // with at most 19 digits in the mantissa, its exponent tells which end.
    if (std::from_chars(text, end, value).ec == std::errc::result_out_of_range)
        value = decimal.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

}  // namespace

int32_t decimalToInt32(std::string_view text) {
    const char* end = text.data() + text.size();
    bool negative = false;
    uint32_t value = 0;
    for (const char* p = skipSpaceAndSign(text.data(), end, negative); p < end && isDigit(*p); ++p)
        value = value * 10 + static_cast<uint32_t>(*p - '0');
    return static_cast<int32_t>(negative ? 0u - value : value);
}

double decimalToDouble(std::string_view text) {
    const char* end = text.data() + text.size();
    bool negative = false;
    const char* start = skipSpaceAndSign(text.data(), end, negative);
    Decimal decimal;
    const char* p = gatherDigits(start, end, decimal, false);
    bool hasDigits = p > start;
    if (p < end && *p == '.') {
        const char* fraction = p + 1;
        p = gatherDigits(fraction, end, decimal, true);
        hasDigits = hasDigits || p > fraction;
    }
    // ".", "-." and words are no numbers.
    if (!hasDigits) return 0.0;
    p = readExponent(p, end, decimal);
    double value = convert(decimal, start, p);
    return negative ? -value : value;
}
