#include "platform/Locale.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cmath>
#include <cstdio>
#include <limits>

namespace platform {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f'; }

std::string_view SkipBlanks(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && IsSpace(s[i])) ++i;
  return s.substr(i);
}

// For a decimal number too large or too small for a double: true when its
// decimal magnitude (exponent plus the position of its first significant
// digit) is positive, i.e. it overflowed rather than underflowed.
bool OverflowsUpward(std::string_view number) {
  size_t i = 0;
  int64_t integerDigits = 0;  // significant digits before the point
  int64_t leadingZeros = 0;   // zeros after the point before the first significant digit
  bool significant = false;
  for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
    significant = significant || number[i] != '0';
    if (significant) ++integerDigits;
  }
  if (i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i) {
      if (number[i] != '0') significant = true;
      if (!significant && integerDigits == 0) ++leadingZeros;
    }
  }
  int64_t exponent = 0;
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
    for (; i < number.size() && number[i] >= '0' && number[i] <= '9'; ++i)
      exponent = std::min<int64_t>(exponent * 10 + (number[i] - '0'), int64_t(1) << 40);
    if (negative) exponent = -exponent;
  }
  return exponent + (integerDigits > 0 ? integerDigits : -leadingZeros) > 0;
}

// Converts the longest numeric prefix; returns characters consumed (0: none).
size_t PrefixDouble(std::string_view s, double* out) {
  *out = 0.0;
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  // from_chars rejects a leading '+', and "-" handling is done above so that
  // "+5" and "-5" both parse.
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(s.data() + i, s.data() + s.size(), value, std::chars_format::general);
  if (ptr == s.data() + i) return 0;
  if (ec == std::errc::result_out_of_range) {
    // Keep atof's behaviour: huge values become infinity, tiny ones zero.
    // from_chars leaves `value` untouched here, so the text decides which.
    value = OverflowsUpward(s.substr(i, static_cast<size_t>(ptr - (s.data() + i))))
                ? std::numeric_limits<double>::infinity()
                : 0.0;
  }
  *out = negative ? -value : value;
  return static_cast<size_t>(ptr - s.data());
}

size_t PrefixInt64(std::string_view s, int64_t* out) {
  *out = 0;
  size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
    negative = s[i] == '-';
    ++i;
  }
  const size_t digitsStart = i;
  uint64_t value = 0;
  bool overflow = false;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
    const uint64_t digit = static_cast<uint64_t>(s[i] - '0');
    if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10) overflow = true;
    if (!overflow) value = value * 10 + digit;
    ++i;
  }
  if (i == digitsStart) return 0;
  const uint64_t limit = negative ? uint64_t(std::numeric_limits<int64_t>::max()) + 1
                                  : uint64_t(std::numeric_limits<int64_t>::max());
  if (overflow || value > limit) value = limit;
  *out = negative ? static_cast<int64_t>(0 - value) : static_cast<int64_t>(value);
  return i;
}

}  // namespace

double ParseDouble(std::string_view text) {
  double v;
  PrefixDouble(SkipBlanks(text), &v);
  return v;
}

float ParseFloat(std::string_view text) {
  const double v = ParseDouble(text);
  if (v > std::numeric_limits<float>::max()) return std::numeric_limits<float>::infinity();
  if (v < -std::numeric_limits<float>::max()) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}

int64_t ParseInt64(std::string_view text) {
  int64_t v;
  PrefixInt64(SkipBlanks(text), &v);
  return v;
}

int32_t ParseInt(std::string_view text) {
  const int64_t v = ParseInt64(text);
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

bool TryParseDouble(std::string_view text, double* out) {
  std::string_view s = SkipBlanks(text);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  double v;
  const size_t used = PrefixDouble(s, &v);
  if (used == 0 || used != s.size()) return false;
  if (out) *out = v;
  return true;
}

bool TryParseInt(std::string_view text, int32_t* out) {
  std::string_view s = SkipBlanks(text);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  int64_t v;
  const size_t used = PrefixInt64(s, &v);
  if (used == 0 || used != s.size()) return false;
  if (v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min()) return false;
  if (out) *out = static_cast<int32_t>(v);
  return true;
}

std::string FormatDouble(double value, const char* format) {
  // The program never calls setlocale, so the C library stays in the "C"
  // locale and snprintf prints a '.' decimal point.
  char buffer[512];
  const int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n < 0) return std::string();
  if (static_cast<size_t>(n) < sizeof buffer) return std::string(buffer, static_cast<size_t>(n));
  std::string big(static_cast<size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), format, value);
  big.resize(static_cast<size_t>(n));
  return big;
}

}  // namespace platform
