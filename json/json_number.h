// Number syntax and number text of the JSON values: the integer syntax of
// the _Integer text constructor, the decimal syntax read with "." as the
// decimal separator (pointFormat), and the "######0.00" text of _Double.
#pragma once

#include <cstdint>
#include <string>

namespace json {

// Optional leading spaces, an optional sign, then decimal digits within the
// signed 32-bit range or a hexadecimal prefix ("$", "x", "X", "0x", "0X")
// and up to 32 bits of hexadecimal digits; nothing after. False otherwise.
bool tryReadInteger(const std::string& text, int32_t& value);
// As above; ConvertError "'<text>' is not a valid integer value".
int32_t readInteger(const std::string& text);

// Optional leading spaces, an optional sign, digits with an optional "."
// and fraction (at least a digit or the "."), an optional exponent, and
// optional trailing spaces. False otherwise and for values beyond the
// double range (values too small for a double read as zero).
bool tryReadDecimal(const std::string& text, double& value);
// As above; ConvertError "'<text>' is not a valid floating point value".
double readDecimal(const std::string& text);

// The value formatted "######0.00" with "." as the decimal separator, from
// its 18-significant-digit decimal form rounded half away from zero; a
// value that rounds to zero is "0.00" without a sign.
std::string formatTwoDecimals(double value);

// The integer nearest to value, ties to the even neighbour, low 32 bits.
int32_t roundToInt32(double value);
// value truncated toward zero, low 32 bits.
int32_t truncToInt32(double value);

}  // namespace json
