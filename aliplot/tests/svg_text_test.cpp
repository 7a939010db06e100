#include "svg_text.h"

#include <gtest/gtest.h>

namespace {

TEST(Numbers, DropTrailingZerosAndNegativeZero) {
  std::string out;
  for (const double value : {12.5, 3.0, -0.0001, 0.126}) {
    aliplot::appendNumber(out, value, 2);
    out += ' ';
  }
  EXPECT_EQ(out, "12.5 3 0 0.13 ");
  EXPECT_EQ(aliplot::groupedCount(1234567), "1,234,567");
  EXPECT_EQ(aliplot::groupedCount(999), "999");
}

TEST(Escaping, KeepsMarkupAndBadBytesOutOfDocuments) {
  EXPECT_EQ(aliplot::xmlEscaped("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
  // Control characters and bytes that are no UTF-8 become '?'; UTF-8 stays.
  EXPECT_EQ(aliplot::xmlEscaped("x\x01y\xff\xc3\xa9"), "x?y?\xc3\xa9");
  EXPECT_EQ(aliplot::xmlEscaped("\xed\xa0\x80"), "???");  // a surrogate
  EXPECT_EQ(aliplot::jsonString("a\"\\</script>\n\xe2\x80\x93"),
            "\"a\\\"\\\\\\u003c/script\\u003e\\u000a\xe2\x80\x93\"");
}

// Every character that XML 1.0 forbids becomes '?' in both kinds of text,
// one '?' for each character (or each byte that starts no UTF-8 sequence);
// every character it allows stays.
struct Character {
  const char *name, *text, *xml;
};

const Character CHARACTERS[] = {
    {"control", "a\x01z", "a?z"},
    {"escape", "a\x1bz", "a?z"},
    {"u_fffe", "a\xef\xbf\xbez", "a?z"},
    {"u_ffff", "a\xef\xbf\xbfz", "a?z"},
    {"surrogate", "a\xed\xa0\x80z", "a???z"},
    {"overlong_slash", "a\xc0\xafz", "a??z"},
    {"beyond_u_10ffff", "a\xf4\x90\x80\x80z", "a????z"},
    {"cut_sequence", "a\xe2\x80", "a??"},
    {"tab_line_feed_return", "a\t\n\rz", "a\t\n\rz"},
    {"delete_and_c1_control", "a\x7f\xc2\x85z", "a\x7f\xc2\x85z"},
    {"u_fffd", "a\xef\xbf\xbdz", "a\xef\xbf\xbdz"},
    {"u_d7ff_and_u_e000", "\xed\x9f\xbf\xee\x80\x80", "\xed\x9f\xbf\xee\x80\x80"},
    {"u_10ffff", "\xf4\x8f\xbf\xbf", "\xf4\x8f\xbf\xbf"},
};

class XmlCharacter : public testing::TestWithParam<Character> {};

TEST_P(XmlCharacter, IsKeptOnlyWhenXmlAllowsIt) {
  EXPECT_EQ(aliplot::xmlEscaped(GetParam().text), GetParam().xml);
  // JSON writes the three allowed controls as escapes.
  std::string json = "\"";
  for (const char c : std::string(GetParam().xml)) {
    if (c == '\t' || c == '\n' || c == '\r')
      json += c == '\t' ? "\\u0009" : c == '\n' ? "\\u000a" : "\\u000d";
    else
      json += c;
  }
  EXPECT_EQ(aliplot::jsonString(GetParam().text), json + "\"");
}

INSTANTIATE_TEST_SUITE_P(Characters, XmlCharacter, testing::ValuesIn(CHARACTERS),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Shortening, KeepsTheEndOfALongName) {
  EXPECT_EQ(aliplot::shortenedFront("short", 10), "short");
  EXPECT_EQ(aliplot::shortenedFront("/a/long/path/name.txt", 9), "\u2026name.txt");
}

}  // namespace
