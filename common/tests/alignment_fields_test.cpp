#include "alignment_fields.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

int64_t scaled(const char *text) {
  float value = 0;
  EXPECT_EQ(parseFloat(text, text + std::strlen(text), value), std::strlen(text));
  return scaleScore(value);
}

struct ScaleCase {
  const char *text;
  int64_t tenths;
};
void PrintTo(const ScaleCase &c, std::ostream *os) { *os << c.text; }

class ScoreScaling : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScoreScaling, RoundsAsSinglePrecision) {
  EXPECT_EQ(scaled(GetParam().text), GetParam().tenths) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ScoreScaling,
    ::testing::Values(ScaleCase{"12.34", 123}, ScaleCase{"7.96", 80}, ScaleCase{"-1.0", -9},
                      ScaleCase{"1.05", 10}, ScaleCase{"0.35", 4}, ScaleCase{"2.05", 21},
                      ScaleCase{"-0.15", -1}, ScaleCase{"13968", 139680}, ScaleCase{"5", 50},
                      ScaleCase{"5e0", 50}, ScaleCase{"0x1p3", 80}, ScaleCase{"1e15", 10000000272564224},
                      ScaleCase{"-0", 0}));

// The fast decimal path must give exactly what the library conversion gives.
TEST(ParseFloat, AgreesWithStrtofOnRandomDecimals) {
  std::mt19937_64 rng(99);
  char text[64];
  for (int i = 0; i < 200000; ++i) {
    const auto digits = static_cast<int>(rng() % 10) + 1;
    const auto point = static_cast<int>(rng() % (static_cast<uint64_t>(digits) + 1));
    int n = 0;
    if (rng() % 3 == 0) text[n++] = '-';
    for (int d = 0; d < digits; ++d) {
      if (d == point && rng() % 2) text[n++] = '.';
      text[n++] = static_cast<char>('0' + rng() % 10);
    }
    text[n] = '\0';
    float fast = 0;
    char *stop = nullptr;
    const float reference = std::strtof(text, &stop);
    ASSERT_EQ(parseFloat(text, text + n, fast), static_cast<size_t>(stop - text)) << text;
    ASSERT_EQ(std::memcmp(&fast, &reference, sizeof fast), 0) << text;
  }
}

TEST(ParseFloat, StopsWhereStrtofStops) {
  for (const char *text : {"12.34.5", "1.", ".5", "+.5", "3abc", "1e", "1e+", "inf", "-nan", "0x",
                           "1.000000000001", "16777217", "99999999999"}) {
    float fast = 0;
    char *stop = nullptr;
    const float reference = std::strtof(text, &stop);
    EXPECT_EQ(parseFloat(text, text + std::strlen(text), fast), static_cast<size_t>(stop - text))
        << text;
    if (!std::isnan(reference)) {
      EXPECT_EQ(fast, reference) << text;
    }
  }
  float value = 0;
  EXPECT_EQ(parseFloat("x1", "x1" + 2, value), 0u);
  EXPECT_EQ(parseFloat("  ", "  " + 2, value), 0u);
}

struct ScanCase {
  const char *line;
  int values;
};
void PrintTo(const ScanCase &c, std::ostream *os) { *os << '"' << c.line << '"'; }

class FieldScan : public ::testing::TestWithParam<ScanCase> {};

TEST_P(FieldScan, CountsTheValuesTaken) {
  ALIGNMENT_FIELDS f{};
  const char *line = GetParam().line;
  EXPECT_EQ(scanAlignmentFields(line, line + std::strlen(line), f), GetParam().values) << line;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FieldScan,
    ::testing::Values(ScanCase{"", 0}, ScanCase{" \t\r", 0}, ScanCase{"a", 1}, ScanCase{"a b", 2},
                      ScanCase{"a b alignment", 3}, ScanCase{"a b alignment 10", 4},
                      ScanCase{"a b alignment 10:20", 5}, ScanCase{"a b alignment 10 :20", 4},
                      ScanCase{"a b alignment 10: 20 50:60", 7},
                      ScanCase{"a\tb\talignment\t10:20\t50:60\t12.34\t+", 8},
                      ScanCase{"a b alignment 10:20 50:60 x", 7},
                      ScanCase{"a b alignment 10:2050:60 1", 5},
                      ScanCase{"a b alignment 10:20 50:60 1\r", 8}));

TEST(FieldScan, TakesTheValues) {
  const char line[] = "a\tb\talignment\t-10:+20\t50:60\t12.34\t+";
  ALIGNMENT_FIELDS f{};
  ASSERT_EQ(scanAlignmentFields(line, line + sizeof line - 1, f), 8);
  EXPECT_EQ(std::string(f.feature, f.featureLength), "alignment");
  EXPECT_EQ(f.xb, -10);
  EXPECT_EQ(f.yb, 20);
  EXPECT_EQ(f.xe, 50);
  EXPECT_EQ(f.ye, 60);
  EXPECT_EQ(f.score, 12.34f);
  EXPECT_FALSE(f.coordinateOverflow);
}

TEST(FieldScan, FlagsCoordinatesBeyond64Bits) {
  for (const char *line : {"a b alignment 9223372036854775808:1 2:2 1",
                           "a b alignment 1:-9223372036854775809 2:2 1",
                           "a b alignment 1:1 2:99999999999999999999999 1"}) {
    ALIGNMENT_FIELDS f{};
    EXPECT_EQ(scanAlignmentFields(line, line + std::strlen(line), f), 8) << line;
    EXPECT_TRUE(f.coordinateOverflow) << line;
  }
  const char edge[] = "a b alignment -9223372036854775808:9223372036854775807 2:2 1";
  ALIGNMENT_FIELDS f{};
  EXPECT_EQ(scanAlignmentFields(edge, edge + sizeof edge - 1, f), 8);
  EXPECT_FALSE(f.coordinateOverflow);
  EXPECT_EQ(f.xb, INT64_MIN);
  EXPECT_EQ(f.yb, INT64_MAX);
}

struct BoundCase {
  const char *text;
  bool beyond;
};
void PrintTo(const BoundCase &c, std::ostream *os) { *os << '"' << c.text << '"'; }

class ScoreBound : public ::testing::TestWithParam<BoundCase> {};

// The bound of 10^15 holds for the number as written: single precision
// rounds 1000000000000001 and 1.00000002e15 onto 10^15 itself.
TEST_P(ScoreBound, JudgesTheDigitsAsWritten) {
  const std::string text = GetParam().text;
  EXPECT_EQ(beyondScoreBound(text.data(), text.size()), GetParam().beyond);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, ScoreBound,
    ::testing::Values(BoundCase{"1e15", false}, BoundCase{"-1e15", false},
                      BoundCase{" 1000000000000000", false}, BoundCase{"1000000000000000.000", false},
                      BoundCase{"0001000000000000000", false}, BoundCase{"0.001e18", false},
                      BoundCase{"10000000000000000000e-4", false}, BoundCase{"999999999999999.99", false},
                      BoundCase{"0x38d7ea4c68000", false}, BoundCase{"0", false},
                      BoundCase{"0.000", false}, BoundCase{"1e-99999999999999999999", false},
                      BoundCase{"1000000000000001", true}, BoundCase{"1.00000002e15", true},
                      BoundCase{"-1000000000000000.1", true}, BoundCase{"2e15", true},
                      BoundCase{"1e16", true}, BoundCase{"0.0000000000000000000002e37", true},
                      BoundCase{"0x38d7ea4c68001", true}, BoundCase{"1e99999999999999999999", true}));

TEST(FieldScan, FlagsScoresBeyondTheBoundOnly) {
  for (const char *score : {"1000000000000001", "1e15", "16777217"}) {
    const std::string line = std::string("a b alignment 1:1 2:2 ") + score;
    ALIGNMENT_FIELDS f{};
    ASSERT_EQ(scanAlignmentFields(line.data(), line.data() + line.size(), f), 8) << line;
    EXPECT_EQ(f.scoreBeyondBound, score[1] == '0') << line;
  }
}

}  // namespace
