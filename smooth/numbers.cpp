#include "numbers.h"

#include <climits>
#include <cstring>

namespace {

// Past this magnitude no value fits in 32 bits; holding the magnitude there
// keeps the accumulator from overflowing whatever the digit count.
const int64_t saturated = int64_t(1) << 32;

// Reads an optional sign and decimal digits from [p, end) into *value,
// saturated at +-2^32. Returns the position after the last digit, or p
// itself when no digit follows the sign.
const char *scan_decimal(const char *p, const char *end, int64_t *value) {
  const char *q = p;
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) {
    negative = *q == '-';
    ++q;
  }
  const char *digits = q;
  int64_t magnitude = 0;
  for (; q < end && *q >= '0' && *q <= '9'; ++q)
    magnitude = magnitude < saturated ? magnitude * 10 + (*q - '0') : saturated;
  if (q == digits)
    return p;
  *value = negative ? -magnitude : magnitude;
  return q;
}

} // namespace

bool parse_int32(const char *text, size_t len, int32_t *value) {
  int64_t v = 0;
  const char *stop = scan_decimal(text, text + len, &v);
  if (len == 0 || stop != text + len || v < INT32_MIN || v > INT32_MAX)
    return false;
  *value = static_cast<int32_t>(v);
  return true;
}

int atoi_clamped(const char *text) {
  while (is_field_space(static_cast<unsigned char>(*text)))
    ++text;
  int64_t v = 0;
  scan_decimal(text, text + std::strlen(text), &v);
  if (v < INT_MIN)
    return INT_MIN;
  return v > INT_MAX ? INT_MAX : static_cast<int>(v);
}
