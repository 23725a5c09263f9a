#include "mqo/number_text.h"

#include <charconv>
#include <limits>

namespace {

// Powers of ten that a double holds exactly.
constexpr double exactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                       1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int64_t LARGEST_EXACT_POWER = 22;
constexpr uint64_t LARGEST_EXACT_MANTISSA = uint64_t{1} << 53;
constexpr int64_t MANTISSA_DIGITS = 19;  // always fit in 64 bits
// Any number of this many digits is below 2^53: an exact double.
constexpr int64_t SHORT_DIGITS = 15;
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

bool isDigit(char c) {
    return static_cast<unsigned char>(c - '0') < 10;
}

// The white space that the C library skips before a number, then the sign.
inline const char* skipSpaceAndSign(const char* p, const char* end, bool& negative) {
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
    negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+')) ++p;
    return p;
}

inline const char* gatherDigits(const char* p, const char* end, uint64_t& digits) {
    for (; p < end && isDigit(*p); ++p) digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    return p;
}

// An "e" without digits after it is not part of the number.
const char* readExponent(const char* p, const char* end, int64_t& exponent) {
    if (p == end || (*p != 'e' && *p != 'E')) return p;
    const char* digits = p + 1;
    bool negative = digits < end && *digits == '-';
    if (digits < end && (*digits == '-' || *digits == '+')) ++digits;
    if (digits == end || !isDigit(*digits)) return p;
    for (; digits < end && isDigit(*digits); ++digits)
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
        return exponent < 0 ? mantissa / exactPowersOfTen[-exponent] : mantissa * exactPowersOfTen[exponent];
    }
    double value = 0.0;
    // Only a non-zero number far beyond a double's range is out of range:
    // where its first significant digit lies tells which end it passed.
    if (std::from_chars(decimal.integer, decimal.end, value).ec == std::errc::result_out_of_range)
        value = magnitude(decimal) + decimal.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return value;
}

// Most numbers in a model: an optional minus, at most 15 digits with or
// without a fraction, and no exponent. Read in one pass, they convert
// exactly as `convert` converts them; anything else gives nullptr, to be read
// the general way.
const char* readShortDecimal(const char* p, const char* end, double& value) {
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
    const double absolute = static_cast<double>(digits) / exactPowersOfTen[fractionDigits];
    value = negative ? -absolute : absolute;
    return fractionEnd;
}

}  // namespace

int32_t decimalToInt32(std::string_view text) {
    int32_t value = 0;
    readInt32(text.data(), text.data() + text.size(), value);
    return value;
}

const char* readInt32(const char* text, const char* end, int32_t& value) {
    bool negative = false;
    const char* digits = skipSpaceAndSign(text, end, negative);
    const char* p = digits;
    uint32_t unsignedValue = 0;
    for (; p < end && isDigit(*p); ++p) unsignedValue = unsignedValue * 10 + static_cast<uint32_t>(*p - '0');
    value = static_cast<int32_t>(negative ? 0u - unsignedValue : unsignedValue);
    return p == digits ? text : p;
}

double decimalToDouble(std::string_view text) {
    double value = 0.0;
    readDecimal(text.data(), text.data() + text.size(), value);
    return value;
}

const char* readDecimal(const char* text, const char* end, double& value) {
    if (const char* shortEnd = readShortDecimal(text, end, value)) return shortEnd;
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
