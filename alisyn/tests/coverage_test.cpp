// The coverage runs against a plain array of covered positions: random
// intervals, short and long, added to a few sequences in any order, with
// enough runs to fill and split many chunks and merges that empty whole
// chunks.
#include "coverage.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace alisyn {
namespace {

struct Plain {
  std::vector<std::vector<bool>> covered;
  uint64_t count(uint32_t s, uint64_t b, uint64_t e) const {
    uint64_t n = 0;
    for (uint64_t x = b; x <= e; ++x) n += covered[s][x];
    return n;
  }
  void add(uint32_t s, uint64_t b, uint64_t e) {
    for (uint64_t x = b; x <= e; ++x) covered[s][x] = true;
  }
};

class CoverageAgainstPlain : public testing::TestWithParam<uint64_t> {};

TEST_P(CoverageAgainstPlain, CoveredBasesAfterEveryAdd) {
  const uint64_t longest = GetParam();
  constexpr uint64_t LENGTH = 60000;
  constexpr uint32_t SEQUENCES = 3;
  std::mt19937_64 random(longest);
  Plain plain{std::vector<std::vector<bool>>(SEQUENCES, std::vector<bool>(LENGTH + 2, false))};
  Coverage coverage(SEQUENCES);
  for (int step = 0; step < 6000; ++step) {
    const auto s = static_cast<uint32_t>(random() % SEQUENCES);
    // Now and then an interval long enough to swallow many runs at once.
    const uint64_t length = 1 + random() % (step % 97 == 0 ? 8000 : longest);
    const uint64_t b = 1 + random() % (LENGTH - length + 1), e = b + length - 1;
    ASSERT_EQ(coverage.covered(s, b, e), plain.count(s, b, e)) << "step " << step;
    if (random() % 3 != 0) {
      coverage.add(s, b, e);
      plain.add(s, b, e);
    }
  }
  for (uint32_t s = 0; s < SEQUENCES; ++s)
    for (uint64_t b = 1; b + 1500 <= LENGTH; b += 997) EXPECT_EQ(coverage.covered(s, b, b + 1500), plain.count(s, b, b + 1500));
}

// Longest interval lengths: single bases (runs that touch without
// overlapping), short and longer intervals.
INSTANTIATE_TEST_SUITE_P(Lengths, CoverageAgainstPlain, testing::Values(1, 3, 12, 40));

}  // namespace
}  // namespace alisyn
