// Integer conversions of the hit table and of the command line.
#ifndef SMOOTH_NUMBERS_H
#define SMOOTH_NUMBERS_H

#include <cstddef>
#include <cstdint>

// The white space that separates fields: blank, tab, line feed, vertical
// tab, form feed and carriage return (C isspace in the "C" locale).
inline bool is_field_space(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Converts the whole of [text, text + len) as an optional sign followed by
// one or more decimal digits. Returns false, leaving *value alone, when
// anything else is in the token or the value does not fit in 32 bits.
bool parse_int32(const char *text, size_t len, int32_t *value);

// Converts text as atoi does (leading white space, optional sign, digits,
// anything after them ignored, no digits gives 0), but clamps values
// beyond the int range instead of overflowing.
int atoi_clamped(const char *text);

#endif
