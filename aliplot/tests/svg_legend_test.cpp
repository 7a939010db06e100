#include "svg_legend.h"

#include <gtest/gtest.h>

namespace {

using aliplot::wrapped;
using Lines = std::vector<std::string>;

TEST(Wrapped, KeepsAShortTextWhole) { EXPECT_EQ(wrapped("from a.chain", 34, 3), Lines{"from a.chain"}); }

TEST(Wrapped, BreaksAfterASlashNearTheEnd) {
  EXPECT_EQ(wrapped("from some/folder/x.chain", 18, 3), (Lines{"from some/folder/", "x.chain"}));
}

TEST(Wrapped, CutsWhereNoBreakIsNear) {
  EXPECT_EQ(wrapped("abcdefghijkl", 5, 3), (Lines{"abcde", "fghij", "kl"}));
}

TEST(Wrapped, DropsTheFrontBeyondTheLinesAllowed) {
  EXPECT_EQ(wrapped("abcdefghijkl", 5, 2), (Lines{"\u2026ghij", "kl"}));
}

// Every line within the limit and never a UTF-8 character cut apart.
TEST(Wrapped, NeverSplitsACharacter) {
  const std::string text = "\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9\u00e9";  // two bytes each
  for (size_t limit = 1; limit < 8; ++limit)
    for (const std::string &line : wrapped(text, limit, 10)) {
      EXPECT_LE(line.size(), std::max<size_t>(limit, 2));
      EXPECT_NE(static_cast<unsigned char>(line.front()) & 0xc0, 0x80) << limit;
    }
}

}  // namespace
