#include "neighbours.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

std::vector<LINE> at_positions(const std::vector<int32_t> &positions) {
  std::vector<LINE> input;
  for (int32_t p : positions)
    input.push_back(LINE{p, 0, 8, 1, 0.001f});
  return input;
}

// The plain quadratic count that the fast one must reproduce.
std::vector<uint32_t> all_pairs(const std::vector<LINE> &input, int winsize) {
  std::vector<uint32_t> counts(input.size(), 0);
  for (size_t i = 0; i < input.size(); ++i)
    for (size_t j = 0; j < input.size(); ++j)
      if (i != j && std::llabs(int64_t(input[i].pos) - input[j].pos) <= winsize)
        ++counts[i];
  return counts;
}

std::vector<uint32_t> fast(const std::vector<LINE> &input, int winsize) {
  return count_neighbours(input.data(), input.size(), winsize);
}

using Counts = std::vector<uint32_t>;

TEST(CountNeighbours, WindowBounds) {
  const auto input = at_positions({100, 110});
  EXPECT_EQ(fast(input, 10), (Counts{1, 1}));
  EXPECT_EQ(fast(input, 9), (Counts{0, 0}));
  const auto same = at_positions({7, 7, 7});
  EXPECT_EQ(fast(same, 0), (Counts{2, 2, 2}));
  EXPECT_EQ(fast(same, -1), (Counts{0, 0, 0}));
  EXPECT_EQ(fast(same, INT_MIN), (Counts{0, 0, 0}));
  EXPECT_EQ(fast({}, 5), Counts{});
}

TEST(CountNeighbours, ExtremePositionsDoNotOverflow) {
  const auto input = at_positions({INT32_MIN, INT32_MAX, 0, INT32_MIN + 1});
  EXPECT_EQ(fast(input, INT_MAX), all_pairs(input, INT_MAX));
  EXPECT_EQ(fast(input, 1), (Counts{1, 0, 0, 1}));
}

// Random tables of several sizes and spreads, from dense (many equal
// positions) to sparse, over windows from negative to wide.
class AgainstAllPairs : public ::testing::TestWithParam<int> {};

TEST_P(AgainstAllPairs, RandomTables) {
  std::mt19937 rng(static_cast<unsigned>(GetParam()));
  for (int round = 0; round < 40; ++round) {
    const int n = std::uniform_int_distribution<int>(0, 300)(rng);
    const int spread = std::uniform_int_distribution<int>(1, 5000)(rng);
    std::uniform_int_distribution<int32_t> position(-spread, spread);
    std::vector<int32_t> positions(static_cast<size_t>(n));
    for (auto &p : positions)
      p = position(rng);
    const auto input = at_positions(positions);
    const int winsize = std::uniform_int_distribution<int>(-2, spread / 4)(rng);
    ASSERT_EQ(fast(input, winsize), all_pairs(input, winsize))
        << "n " << n << " spread " << spread << " window " << winsize;
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, AgainstAllPairs, ::testing::Range(1, 9));

} // namespace
