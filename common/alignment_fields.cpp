// Scanning of the alignment line fields at memory speed. The rules are those
// of the conversion "%s %s %s %ld:%ld %ld:%ld %f": white space separates
// words, each number may be preceded by white space, and the colon must
// follow the first number of a pair directly.
#include "alignment_fields.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

const char *skipSpace(const char *p, const char *end) {
  while (p < end && isSpace(*p)) ++p;
  return p;
}

// Takes one word; returns false at the end of the line.
bool takeWord(const char *&p, const char *end, const char **word, size_t *length) {
  p = skipSpace(p, end);
  if (p == end) return false;
  const char *begin = p;
  while (p < end && !isSpace(*p)) ++p;
  if (word) *word = begin;
  if (length) *length = static_cast<size_t>(p - begin);
  return true;
}

// Takes a signed decimal integer. A value outside 64 bits is consumed whole
// and flagged, so that it is refused rather than taken as a wrong number.
bool takeInt(const char *&p, const char *end, int64_t &value, bool &overflow) {
  const char *q = skipSpace(p, end);
  bool negative = false;
  if (q < end && (*q == '+' || *q == '-')) negative = *q++ == '-';
  if (q == end || !isDigit(*q)) return false;
  // Accumulate the magnitude unsigned; -2^63 is the one value whose
  // magnitude exceeds the positive range.
  const uint64_t limit = negative ? 0x8000000000000000ULL : 0x7FFFFFFFFFFFFFFFULL;
  uint64_t magnitude = 0;
  for (; q < end && isDigit(*q); ++q) {
    const auto digit = static_cast<uint64_t>(*q - '0');
    if (magnitude > (limit - digit) / 10)
      overflow = true;
    else
      magnitude = magnitude * 10 + digit;
  }
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  p = q;
  return true;
}

bool takePair(const char *&p, const char *end, int64_t &a, int64_t &b, bool &overflow,
              int &taken) {
  if (!takeInt(p, end, a, overflow)) return false;
  ++taken;
  if (p == end || *p != ':') return false;
  ++p;
  if (!takeInt(p, end, b, overflow)) return false;
  ++taken;
  return true;
}

// Exact powers of ten in single precision (5^10 < 2^24).
constexpr float POW10[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};

// Fast path for plain decimals "[+-]digits[.digits]": when the digits form
// an integer M <= 2^24 with at most 10 after the point, M and 10^k are exact
// floats and one division rounds correctly. Returns 0 when it does not apply.
size_t parsePlainDecimal(const char *p, const char *end, float &value) {
  const char *q = p;
  const bool negative = q < end && *q == '-';
  if (q < end && (*q == '+' || *q == '-')) ++q;
  uint32_t mantissa = 0;
  int digits = 0;
  int fraction = -1;
  for (; q < end; ++q) {
    if (*q == '.' && fraction < 0) {
      fraction = 0;
      continue;
    }
    if (!isDigit(*q)) break;
    mantissa = mantissa * 10 + static_cast<uint32_t>(*q - '0');
    if (mantissa > (1u << 24)) return 0;
    ++digits;
    if (fraction >= 0) ++fraction;
  }
  if (digits == 0 || fraction > 10) return 0;
  if (q < end && (*q == 'e' || *q == 'E' || *q == 'x' || *q == 'X')) return 0;
  const float magnitude =
      fraction > 0 ? static_cast<float>(mantissa) / POW10[fraction] : static_cast<float>(mantissa);
  value = negative ? -magnitude : magnitude;
  return static_cast<size_t>(q - p);
}

}  // namespace

size_t parseFloat(const char *p, const char *end, float &value) {
  const char *begin = skipSpace(p, end);
  const size_t skipped = static_cast<size_t>(begin - p);
  if (size_t n = parsePlainDecimal(begin, end, value)) return skipped + n;
  // Everything else (exponents, hex, inf, nan, long digit strings) goes to
  // the library conversion on a terminated copy of the word.
  const char *wordEnd = begin;
  while (wordEnd < end && !isSpace(*wordEnd)) ++wordEnd;
  const std::string word(begin, wordEnd);
  char *stop = nullptr;
  value = std::strtof(word.c_str(), &stop);
  const auto n = static_cast<size_t>(stop - word.c_str());
  return n ? skipped + n : 0;
}

bool beyondScoreBound(const char *p, size_t length) {
  const char *end = p + length;
  p = skipSpace(p, end);
  if (p < end && (*p == '+' || *p == '-')) ++p;
  if (end - p > 1 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
    // Hexadecimal digits are binary: long double holds 64 of them exactly.
    return std::fabs(std::strtold(std::string(p, end).c_str(), nullptr)) > 1e15L;
  }
  // The value is 0.d1d2d3... x 10^point with d1 its first nonzero digit; it
  // exceeds 10^15 = 0.1 x 10^16 unless point < 16, or point is 16 and the
  // digits are a 1 followed by zeros only.
  int64_t point = 0;
  char first = 0;
  bool nonzeroAfterFirst = false;
  bool afterPoint = false;
  for (; p < end; ++p) {
    if (*p == '.' && !afterPoint) {
      afterPoint = true;
    } else if (!isDigit(*p)) {
      break;
    } else if (first == 0 && *p == '0') {
      if (afterPoint) --point;
    } else {
      if (first == 0)
        first = *p;
      else if (*p != '0')
        nonzeroAfterFirst = true;
      if (!afterPoint) ++point;
    }
  }
  if (first == 0) return false;
  if (p < end && (*p == 'e' || *p == 'E')) {
    int64_t exponent = 0;
    int64_t toward = 1;
    if (++p < end && (*p == '+' || *p == '-')) toward = *p++ == '-' ? -1 : 1;
    // Far beyond any digit count; keeps the sum from overflowing.
    for (; p < end && isDigit(*p); ++p) exponent = std::min<int64_t>(exponent * 10 + (*p - '0'), 1 << 30);
    point += toward * exponent;
  }
  return point > 16 || (point == 16 && (first != '1' || nonzeroAfterFirst));
}

int64_t scaleScore(float value) {
  const auto rounded = static_cast<float>(static_cast<double>(value) + 0.05);
  return static_cast<int64_t>(rounded * 10.0f);
}

int scanAlignmentFields(const char *p, const char *end, ALIGNMENT_FIELDS &f) {
  f.coordinateOverflow = false;
  f.scoreBeyondBound = false;
  if (!takeWord(p, end, nullptr, nullptr)) return 0;
  if (!takeWord(p, end, nullptr, nullptr)) return 1;
  if (!takeWord(p, end, &f.feature, &f.featureLength)) return 2;
  int taken = 3;
  if (!takePair(p, end, f.xb, f.yb, f.coordinateOverflow, taken)) return taken;
  if (!takePair(p, end, f.xe, f.ye, f.coordinateOverflow, taken)) return taken;
  return scanScore(p, end, f) ? taken + 1 : taken;
}

size_t scanScore(const char *p, const char *end, ALIGNMENT_FIELDS &f) {
  const size_t length = parseFloat(p, end, f.score);
  if (length == 0) return 0;
  // Rounding to float may carry a number just beyond the bound onto it, so
  // a score near it is judged on its digits. Nothing below 10^14 can round
  // anywhere near 10^15.
  f.scoreBeyondBound = std::fabs(f.score) >= 1e14f && beyondScoreBound(p, length);
  f.scoreEnd = p + length;
  return length;
}

bool isAlignmentFeature(const ALIGNMENT_FIELDS &f) {
  return (f.featureLength == 9 && std::memcmp(f.feature, "alignment", 9) == 0) ||
         (f.featureLength == 7 && std::memcmp(f.feature, "hsp:hsp", 7) == 0);
}

// Both coordinates of each sequence must lie strictly inside the 64-bit
// range, and second-sequence values also above -INT64_MAX: then mirroring
// cannot overflow and no value, mirrored or not, equals a sentinel's key.
const char *alignmentFault(const ALIGNMENT_FIELDS &f) {
  auto inside = [](int64_t v) { return v != INT64_MIN && v != INT64_MAX; };
  auto insideY = [&](int64_t v) { return inside(v) && v != -INT64_MAX; };
  if (f.coordinateOverflow || !inside(f.xb) || !inside(f.xe) || !insideY(f.yb) || !insideY(f.ye))
    return "coordinate out of range";
  if (f.xe < f.xb) return "first-sequence end lies below its begin";
  if (!std::isfinite(f.score) || f.scoreBeyondBound) return "score not finite or too large";
  return nullptr;
}
