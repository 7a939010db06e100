#include "numbers.h"
#include "smooth.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <ostream>
#include <string>

namespace {

struct RecordCase {
  std::string line;
  RECORD_STATUS status;
  int32_t dir, pos, len;
  float pval;
};

void PrintTo(const RecordCase &c, std::ostream *os) { *os << '"' << c.line.substr(0, 60) << '"'; }

class ParseRecord : public ::testing::TestWithParam<RecordCase> {};

TEST_P(ParseRecord, FieldsAndStatus) {
  const RecordCase &c = GetParam();
  RECORD rec{-7, -7, -7, -7.0f};
  EXPECT_EQ(parse_record(c.line.data(), c.line.size(), &rec), c.status);
  if (c.status == RECORD_OK) {
    EXPECT_EQ(rec.dir, c.dir);
    EXPECT_EQ(rec.pos, c.pos);
    EXPECT_EQ(rec.len, c.len);
    EXPECT_EQ(rec.pval, c.pval);
  } else {
    EXPECT_EQ(rec.pos, -7) << "record written for a line that is not one";
  }
}

INSTANTIATE_TEST_SUITE_P(
    WellFormed, ParseRecord,
    ::testing::Values(
        RecordCase{"1 1200 8 0.001 ACGTACGT", RECORD_OK, 1, 1200, 8, 0.001f},
        RecordCase{"0\t5\t12\t1e-5\tAC extra fields 9 9", RECORD_OK, 0, 5, 12, 1e-5f},
        RecordCase{"  +01 -0007 000 0.5", RECORD_OK, 1, -7, 0, 0.5f},
        RecordCase{"1 100 8 nan\r", RECORD_OK, 1, 100, 8, 0.0f},
        RecordCase{"1\v100\f8\r0.01\rWORD\r", RECORD_OK, 1, 100, 8, 0.01f},
        RecordCase{"1 100 8 0.002", RECORD_OK, 1, 100, 8, 0.002f},
        RecordCase{"2147483647 -2147483648 2147483647 1", RECORD_OK, INT32_MAX, INT32_MIN,
                   INT32_MAX, 1.0f},
        RecordCase{"1 2 3 abc", RECORD_OK, 1, 2, 3, 0.0f},
        RecordCase{"1 2 3 0.004xyz", RECORD_OK, 1, 2, 3, 0.004f},
        RecordCase{"1 2 3 " + std::string(200, '0') + "1e-3", RECORD_OK, 1, 2, 3, 0.001f}));

INSTANTIATE_TEST_SUITE_P(
    Malformed, ParseRecord,
    ::testing::Values(RecordCase{"", RECORD_BLANK, 0, 0, 0, 0},
                      RecordCase{" \t\r\v\f ", RECORD_BLANK, 0, 0, 0, 0},
                      RecordCase{"x 1 2 0.001 A", RECORD_BAD_DIR, 0, 0, 0, 0},
                      RecordCase{"1 12abc 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 5.5 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 1e3 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 0x10 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 - 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 2147483648 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 -2147483649 2 0.001", RECORD_BAD_POS, 0, 0, 0, 0},
                      RecordCase{"1 99999999999999999999999 2 0.001", RECORD_BAD_POS, 0, 0,
                                 0, 0},
                      RecordCase{"1 5", RECORD_BAD_LEN, 0, 0, 0, 0},
                      RecordCase{"1 5 +", RECORD_BAD_LEN, 0, 0, 0, 0},
                      RecordCase{"1 5 8", RECORD_NO_PVALUE, 0, 0, 0, 0},
                      RecordCase{"1 5 8 \r", RECORD_NO_PVALUE, 0, 0, 0, 0}));

TEST(ParseRecord, ReadsOnlyItsOwnBytes) {
  // The fields end where the given length ends, even when the bytes after
  // it would continue them.
  const char text[] = "1 5 8 0.0012345";
  RECORD rec{};
  ASSERT_EQ(parse_record(text, 10, &rec), RECORD_OK);
  EXPECT_EQ(rec.pval, 0.0f);  // "0." as atof reads it
  ASSERT_EQ(parse_record(text, 12, &rec), RECORD_OK);
  EXPECT_EQ(rec.pval, 0.0012f);
}

TEST(ParseRecord, EmbeddedNulByte) {
  const std::string line("1 5 8 0.003\0" "9 W", 15);
  RECORD rec{};
  ASSERT_EQ(parse_record(line.data(), line.size(), &rec), RECORD_OK);
  EXPECT_EQ(rec.pval, 0.003f);
}

TEST(ParseRecord, OtherNotANumberTextsStayNotANumber) {
  for (const char *text : {"1 5 8 NaN", "1 5 8 -nan", "1 5 8 nan(1)"}) {
    RECORD rec{};
    ASSERT_EQ(parse_record(text, std::char_traits<char>::length(text), &rec), RECORD_OK);
    EXPECT_TRUE(std::isnan(rec.pval)) << text;
    EXPECT_FALSE(is_candidate(rec)) << text;
  }
}

// Infinities are read as such: a positive one is never below 0.01, a
// negative one always is.
TEST(ParseRecord, InfinitiesKeepTheirSign) {
  for (const char *text : {"1 5 8 inf", "1 5 8 infinity", "1 5 8 +INF", "1 5 8 -inf",
                           "1 5 8 -Infinity"}) {
    RECORD rec{};
    ASSERT_EQ(parse_record(text, std::char_traits<char>::length(text), &rec), RECORD_OK);
    EXPECT_TRUE(std::isinf(rec.pval)) << text;
    EXPECT_EQ(is_candidate(rec), rec.pval < 0) << text;
  }
}

struct AtoiCase {
  const char *text;
  int value;
};

void PrintTo(const AtoiCase &c, std::ostream *os) { *os << '"' << c.text << '"'; }

class AtoiClamped : public ::testing::TestWithParam<AtoiCase> {};

TEST_P(AtoiClamped, ReadsLikeAtoiWithoutOverflow) {
  EXPECT_EQ(atoi_clamped(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, AtoiClamped,
                         ::testing::Values(AtoiCase{"10", 10}, AtoiCase{"  \t-9", -9},
                                           AtoiCase{"+7xyz", 7}, AtoiCase{"abc", 0},
                                           AtoiCase{"", 0}, AtoiCase{"-", 0},
                                           AtoiCase{"12.9", 12},
                                           AtoiCase{"99999999999999999999", INT_MAX},
                                           AtoiCase{"-99999999999999999999", INT_MIN},
                                           AtoiCase{"-2147483648", INT_MIN},
                                           AtoiCase{"2147483648", INT_MAX}));

} // namespace
