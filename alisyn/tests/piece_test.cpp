// The ranking of chains and blocks: decreasingOrder against a stable sort
// by value, on values with many ties, both signs, both zeros, and
// magnitudes from the tiny to the huge.
#include "piece.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numeric>
#include <random>

namespace alisyn {
namespace {

class DecreasingOrder : public testing::TestWithParam<int> {};

std::vector<double> randomValues(int kind, size_t n, std::mt19937_64 &random) {
  const double special[] = {0.0, -0.0, 1.0, -1.0, 1e-300, -1e-300, 1e15, -1e15, 2157.0, 0.5};
  std::vector<double> values(n);
  for (double &v : values) switch (kind) {
      case 0: v = static_cast<double>(random() % 7); break;  // ties everywhere
      case 1: v = special[random() % std::size(special)]; break;
      default: v = std::ldexp(static_cast<double>(random() % 2001) - 1000.0, static_cast<int>(random() % 200) - 100);
    }
  return values;
}

TEST_P(DecreasingOrder, IsAStableSortByFallingValue) {
  std::mt19937_64 random(static_cast<uint64_t>(GetParam()));
  for (const size_t n : {size_t{0}, size_t{1}, size_t{2}, size_t{50}, size_t{20000}}) {
    const std::vector<double> values = randomValues(GetParam(), n, random);
    std::vector<uint32_t> expected(n);
    std::iota(expected.begin(), expected.end(), 0u);
    std::stable_sort(expected.begin(), expected.end(), [&](uint32_t a, uint32_t b) { return values[a] > values[b]; });
    EXPECT_EQ(decreasingOrder(values), expected) << n << " values";
  }
}

INSTANTIATE_TEST_SUITE_P(Kinds, DecreasingOrder, testing::Values(0, 1, 2));

}  // namespace
}  // namespace alisyn
