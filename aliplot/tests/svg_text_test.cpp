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

TEST(Shortening, KeepsTheEndOfALongName) {
  EXPECT_EQ(aliplot::shortenedFront("short", 10), "short");
  EXPECT_EQ(aliplot::shortenedFront("/a/long/path/name.txt", 9), "\u2026name.txt");
}

}  // namespace
