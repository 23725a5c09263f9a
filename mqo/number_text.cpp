#include "mqo/number_text.h"

#include <charconv>
#include <limits>

namespace {

constexpr int64_t LARGEST_EXACT_POWER = 22;
constexpr uint64_t LARGEST_EXACT_MANTISSA = uint64_t{1} << 53;
constexpr int64_t MANTISSA_DIGITS = 19;  // always fit in 64 bits
// Far beyond any double's range, so that saturating changes no result.
constexpr int64_t EXPONENT_LIMIT = 100000;

// The parts of a decimal number: [integer][.fraction][e exponent].
struct Decimal {
    const char* integer = nullptr;
    const char* integerEnd = nullptr;
    const char* fraction = nullptr;
    const char* fractionEnd = nullptr;
    const char* end = nullptr;  // after the exponent
    int64_t exponent = 0;
    uint64_t digits = 0;  // all digits as one number; wraps past 19 digits
};

// An "e" without digits after it is not part of the number.
const char* readExponent(const char* p, const char* end, int64_t& exponent) {
    if (p == end || (*p != 'e' && *p != 'E')) return p;
    const char* digits = p + 1;
    bool negative = digits < end && *digits == '-';
    if (digits < end && (*digits == '-' || *digits == '+')) ++digits;
    if (digits == end || !isDecimalDigit(*digits)) return p;
    for (; digits < end && isDecimalDigit(*digits); ++digits)
        if (exponent < EXPONENT_LIMIT) exponent = exponent * 10 + (*digits - '0');
    if (negative) exponent = -exponent;
    return digits;
}

// The power of ten just above the number's first significant digit, so that
// the number lies below ten to (magnitude + exponent).
int64_t magnitude(const Decimal& decimal) {
    const char* first = decimal.integer;
    while (first < decimal.integerEnd && *first == '0') ++first;
    if (first < decimal.integerEnd) return decimal.integerEnd - first;
    first = decimal.fraction;
    while (first < decimal.fractionEnd && *first == '0') ++first;
    return decimal.fraction - first;
}

// Clinger's fast path: a mantissa and a power of ten that are both exact
// doubles give the correctly rounded value in one operation; other numbers
// go the long way.
double convert(const Decimal& decimal) {
    const int64_t fractionDigits = decimal.fractionEnd - decimal.fraction;
    const int64_t exponent = decimal.exponent - fractionDigits;
    const bool exactDigits = (decimal.integerEnd - decimal.integer) + fractionDigits <= MANTISSA_DIGITS &&
                             decimal.digits <= LARGEST_EXACT_MANTISSA;
    if (exactDigits && exponent >= -LARGEST_EXACT_POWER && exponent <= LARGEST_EXACT_POWER) {
        double mantissa = static_cast<double>(decimal.digits);
        return exponent < 0 ? mantissa / EXACT_POWERS_OF_TEN[-exponent] : mantissa * EXACT_POWERS_OF_TEN[exponent];
    }
    double value = 0.0;
    // Only a non-zero number far beyond a double's range is out of range:
    // where its first significant digit lies tells which end it passed.
    if (std::from_chars(decimal.integer, decimal.end, value).ec == std::errc::result_out_of_range)
        value = magnitude(decimal) + decimal.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

}  // namespace

int32_t decimalToInt32(std::string_view text) {
    int32_t value = 0;
    readInt32(text.data(), text.data() + text.size(), value);
    return value;
}

double decimalToDouble(std::string_view text) {
    double value = 0.0;
    readDecimal(text.data(), text.data() + text.size(), value);
    return value;
}

const char* readLongDecimal(const char* text, const char* end, double& value) {
    bool negative = false;
    Decimal decimal;
    decimal.integer = skipSpaceAndSign(text, end, negative);
    decimal.integerEnd = gatherDigits(decimal.integer, end, decimal.digits);
    decimal.fraction = decimal.fractionEnd = decimal.integerEnd;
    if (decimal.integerEnd < end && *decimal.integerEnd == '.') {
        decimal.fraction = decimal.integerEnd + 1;
        decimal.fractionEnd = gatherDigits(decimal.fraction, end, decimal.digits);
    }
    // ".", "-." and words are no numbers.
    if (decimal.integerEnd == decimal.integer && decimal.fractionEnd == decimal.fraction) {
        value = 0.0;
        return text;
    }
    decimal.end = readExponent(decimal.fractionEnd, end, decimal.exponent);
    const double absolute = convert(decimal);
    value = negative ? -absolute : absolute;
    return decimal.end;
}
