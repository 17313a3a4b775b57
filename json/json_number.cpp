#include "json/json_number.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "platform/error.h"

namespace json {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The low 32 bits of an integral double, as two's complement.
int32_t low32(double integral) {
  double m = std::fmod(integral, 4294967296.0);
  if (m < 0) m += 4294967296.0;
  return static_cast<int32_t>(static_cast<uint32_t>(m));
}

}  // namespace

bool tryReadInteger(const std::string& text, int32_t& value) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i >= n) return false;
  bool hex = false;
  if (text[i] == '$' || text[i] == 'x' || text[i] == 'X') {
    hex = true;
    ++i;
  } else if (text[i] == '0' && i + 1 < n && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i >= n) return false;
  if (hex) {
    uint64_t v = 0;
    for (; i < n; ++i) {
      int d = hexValue(text[i]);
      if (d < 0) return false;
      v = v * 16 + static_cast<unsigned>(d);
      if (v > 0xFFFFFFFFull) return false;
    }
    uint32_t bits = static_cast<uint32_t>(v);
    if (negative) bits = 0u - bits;
    value = static_cast<int32_t>(bits);
    return true;
  }
  int64_t v = 0;
  for (; i < n; ++i) {
    if (!isDigit(text[i])) return false;
    v = v * 10 + (text[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<int32_t>(v);
  return true;
}

int32_t readInteger(const std::string& text) {
  int32_t value;
  if (!tryReadInteger(text, value)) {
    throw quelta::ConvertError("'" + text + "' is not a valid integer value");
  }
  return value;
}

bool tryReadDecimal(const std::string& text, double& value) {
  size_t i = 0, n = text.size();
  while (i < n && text[i] == ' ') ++i;
  while (n > i && text[n - 1] == ' ') --n;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Normalised form for the converter: digits "." digits "e" exponent.
  char buffer[64];
  std::string big;
  size_t intStart = i;
  while (i < n && isDigit(text[i])) ++i;
  size_t intEnd = i;
  size_t fracStart = i, fracEnd = i;
  bool point = false;
  if (i < n && text[i] == '.') {
    point = true;
    fracStart = ++i;
    while (i < n && isDigit(text[i])) ++i;
    fracEnd = i;
  }
  if (intEnd == intStart && fracEnd == fracStart && !point) return false;
  long exponent = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
    if (i >= n || !isDigit(text[i])) return false;
    for (; i < n && isDigit(text[i]); ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (text[i] - '0');
    }
    if (negativeExponent) exponent = -exponent;
  }
  if (i != n) return false;

  // Skip leading zeros to tell overflow from underflow later.
  size_t firstSignificant = intStart;
  while (firstSignificant < intEnd && text[firstSignificant] == '0') ++firstSignificant;
  bool allZero = true;
  for (size_t k = intStart; k < intEnd && allZero; ++k) allZero = text[k] == '0';
  for (size_t k = fracStart; k < fracEnd && allZero; ++k) allZero = text[k] == '0';
  if (allZero) {
    value = negative ? -0.0 : 0.0;
    return true;
  }
  size_t length = (intEnd - intStart) + (fracEnd - fracStart) + 32;
  char* out = buffer;
  if (length > sizeof buffer) {
    big.resize(length);
    out = big.data();
  }
  char* p = out;
  if (intEnd > intStart) {
    std::memcpy(p, text.data() + intStart, intEnd - intStart);
    p += intEnd - intStart;
  } else {
    *p++ = '0';
  }
  if (fracEnd > fracStart) {
    *p++ = '.';
    std::memcpy(p, text.data() + fracStart, fracEnd - fracStart);
    p += fracEnd - fracStart;
  }
  *p++ = 'e';
  p = std::to_chars(p, p + 12, exponent).ptr;
  double result = 0;
  auto [end, ec] = std::from_chars(out, p, result, std::chars_format::scientific);
  if (ec == std::errc::result_out_of_range) {
    // Decimal magnitude: where the first significant digit stands.
    long magnitude = exponent;
    if (firstSignificant < intEnd) {
      magnitude += static_cast<long>(intEnd - firstSignificant);
    } else {
      size_t k = fracStart;
      while (k < fracEnd && text[k] == '0') ++k;
      magnitude -= static_cast<long>(k - fracStart);
    }
    if (magnitude > 0) return false;  // beyond the double range
    result = 0.0;
  } else if (ec != std::errc() || end != p || !std::isfinite(result)) {
    return false;
  }
  value = negative ? -result : result;
  return true;
}

double readDecimal(const std::string& text) {
  double value;
  if (!tryReadDecimal(text, value)) {
    throw quelta::ConvertError("'" + text + "' is not a valid floating point value");
  }
  return value;
}

std::string formatTwoDecimals(double value) {
  // Not reachable from text; written the way the runtime spells them.
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  // 18 significant digits: d.ddddddddddddddddde+XX
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                              std::chars_format::scientific, 17);
  char digits[18];
  digits[0] = buffer[0];
  std::memcpy(digits + 1, buffer + 2, 17);
  const char* e = std::strchr(buffer, 'e');
  int exponent = 0;
  std::from_chars(e[1] == '+' ? e + 2 : e + 1, result.ptr, exponent);
  // value * 100 = 0.DDDD... * 10^(exponent + 3); keep `whole` digits.
  int whole = exponent + 3;
  std::string hundredths;
  if (whole >= 18) {
    // 10^16 and above in hundredths, so 10^18 and above in value: the 18
    // digits then stand for the integer part and the rest is zeros, which
    // reads back as the same 18-digit value.
    hundredths.assign(digits, 18);
    hundredths.append(static_cast<size_t>(whole - 18), '0');
  } else if (whole >= 0) {
    hundredths.assign(digits, static_cast<size_t>(whole));
    if (digits[whole] >= '5') {  // half away from zero
      int k = whole - 1;
      while (k >= 0 && hundredths[static_cast<size_t>(k)] == '9')
        hundredths[static_cast<size_t>(k--)] = '0';
      if (k >= 0) {
        ++hundredths[static_cast<size_t>(k)];
      } else {
        hundredths.insert(hundredths.begin(), '1');
      }
    }
  }
  size_t first = hundredths.find_first_not_of('0');
  if (first == std::string::npos) return "0.00";
  hundredths.erase(0, first);
  if (hundredths.size() < 3) hundredths.insert(0, 3 - hundredths.size(), '0');
  std::string text;
  if (value < 0) text += '-';
  text.append(hundredths, 0, hundredths.size() - 2);
  text += '.';
  text.append(hundredths, hundredths.size() - 2, 2);
  return text;
}

int32_t roundToInt32(double value) {
  if (!std::isfinite(value)) throw quelta::ConvertError("Invalid floating point operation");
  double floor = std::floor(value);
  double fraction = value - floor;
  double rounded = floor;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0)) rounded = floor + 1;
  return low32(rounded);
}

int32_t truncToInt32(double value) {
  if (!std::isfinite(value)) throw quelta::ConvertError("Invalid floating point operation");
  return low32(std::trunc(value));
}

}  // namespace json
