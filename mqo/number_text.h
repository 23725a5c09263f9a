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
const char* readInt32(const char* text, const char* end, int32_t& value);

// Optional white space, an optional sign, digits with an optional fraction,
// and an optional exponent. Correctly rounded; too large a value gives an
// infinity, too small a value a zero or a denormal.
double decimalToDouble(std::string_view text);
// The same for the number at the start of [text, end): returns where it ends,
// or `text` itself, with `value` 0, when no number starts there.
const char* readDecimal(const char* text, const char* end, double& value);
