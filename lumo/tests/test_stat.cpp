#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "lumo.h"

namespace {

struct Case {
  const char *name;
  int len;
  int occ;
  float gccon;
  int cgcount;
  int radius;
  float ratio;  // NaN: the result must be NaN
};

void PrintTo(const Case &c, std::ostream *os) { *os << c.name; }

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

class Ratio : public testing::TestWithParam<Case> {};

// Results are compared bit for bit: the intermediate precisions are part of
// the result.
TEST_P(Ratio, MatchesWorkedValue) {
  const Case c = GetParam();
  const float got = calc_occexpratio(c.len, c.occ, c.gccon, c.cgcount, c.radius);
  if (std::isnan(c.ratio)) {
    EXPECT_TRUE(std::isnan(got)) << got;
  } else {
    EXPECT_EQ(got, c.ratio);
    EXPECT_EQ(std::signbit(got), std::signbit(c.ratio));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Worked, Ratio,
    testing::Values(
        Case{"even_word", 4, 1, 0.25f, 2, 1, 64.0f},
        Case{"no_places", 4, 1, 0.25f, 2, 0, kInf},
        Case{"no_places_no_occurrence", 4, 0, 0.25f, 2, 0, kNaN},
        Case{"gc_half_leaves_no_room", 4, 3, 0.5f, 2, 10, kInf},
        Case{"gc_zero_with_gc_letters", 4, 3, 0.0f, 1, 10, kInf},
        Case{"gc_zero_without_gc_letters", 2, 3, 0.0f, 0, 1, 3.0f},
        Case{"more_gc_than_letters", 1, 5, 0.25f, 3, 1, 5.0f},
        Case{"negative_base_odd_power", 3, 1, 0.6f, 0, 1, -0x1.f3ffe8p+7f},
        Case{"negative_base_even_power", 2, 1, 0.75f, 0, 1, 4.0f},
        Case{"long_word_underflows", 76, 1, 0.25f, 40, 1, kInf},
        // 4 x radius is 2^32 here: 32-bit arithmetic would give 0 places.
        Case{"places_beyond_32_bits", 4, 1 << 24, 0.25f, 2, 1 << 30, 1.0f},
        Case{"double_then_single", 10, 7, 0.1f, 3, 1000, 0x1.0b076p+10f},
        Case{"double_then_single_2", 12, 5, 0.21f, 5, 333, 0x1.a044b0p+15f}),
    [](const testing::TestParamInfo<Case> &p) { return std::string(p.param.name); });

// The extreme integers must not overflow (the sanitizer build traps on
// signed overflow). In 64 bits one power underflows to 0 and the other
// overflows to infinity, so the ratio is not a number; 32-bit arithmetic
// would wrap len - cgcount to -1 and give -0.
TEST(RatioLimits, ExtremeArgumentsGiveNotANumber) {
  EXPECT_TRUE(std::isnan(calc_occexpratio(INT_MAX, 1, 0.25f, INT_MIN, INT_MAX)));
  EXPECT_TRUE(std::isnan(calc_occexpratio(INT_MIN, 1, 0.25f, INT_MAX, INT_MIN)));
}

}  // namespace
