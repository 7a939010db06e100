#include "alichain.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

struct Ali {
  int64_t xb, xe, yb, ye, tenths;
};

// The pass of the last chainOf.
PASS pass;

// Runs one pass of the sweep over `alis` (mirrored when `reverse`) and
// returns the member numbers in ascending order.
std::vector<uint64_t> chainOf(const std::vector<Ali> &alis, bool reverse = false) {
  INPUT input;
  for (const Ali &a : alis) input.ali.push_back(ALI{a.xb, a.yb, a.xe, a.ye, a.tenths, UINT64_MAX});
  pass = PASS();
  orientAlignments(input, reverse ? 1 : 0, pass);
  initTree(pass);
  process(pass, prepareAnchorlist(input.ali));
  getResult(pass);
  std::vector<uint64_t> members;
  for (uint64_t j = 0; j < pass.member.size(); ++j)
    if (pass.member[j]) members.push_back(j);
  EXPECT_EQ(members.size(), pass.resultcount);
  return members;
}

using Members = std::vector<uint64_t>;

TEST(Sweep, ChainsAlignmentsThatFollowInBothSequences) {
  EXPECT_EQ(chainOf({{10, 50, 20, 60, 50}, {60, 90, 70, 95, 30}}), (Members{0, 1}));
  EXPECT_EQ(pass.resultscore, 8.0f);
  EXPECT_EQ(pass.ali[1].pred, 0u);
  EXPECT_EQ(pass.ali[0].pred, NO_ALIGNMENT);
}

TEST(Sweep, SecondSequenceFollowIsStrict) {
  EXPECT_EQ(chainOf({{10, 50, 20, 60, 50}, {60, 90, 60, 95, 30}}), (Members{0}));
  EXPECT_EQ(pass.resultscore, 5.0f);
}

TEST(Sweep, SkipsAWeakOverlappingMiddle) {
  EXPECT_EQ(chainOf({{10, 20, 10, 20, 50}, {25, 35, 15, 40, 60}, {40, 50, 30, 50, 50}}),
            (Members{0, 2}));
  EXPECT_EQ(pass.resultscore, 10.0f);
}

TEST(Sweep, EqualEndKeepsTheHigherScoreThenTheEarlier) {
  EXPECT_EQ(chainOf({{10, 20, 10, 50, 30}, {15, 25, 12, 50, 40}, {60, 70, 60, 70, 10}}),
            (Members{1, 2}));
  EXPECT_EQ(chainOf({{10, 20, 10, 50, 40}, {15, 25, 12, 50, 40}, {60, 70, 60, 70, 10}}),
            (Members{0, 2}));
}

TEST(Sweep, NonPositiveScoresAreNeverStored) {
  EXPECT_EQ(chainOf({{10, 20, 10, 20, 0}, {30, 40, 30, 40, -5}}), (Members{}));
  EXPECT_EQ(pass.resultscore, 0.0f);
  EXPECT_EQ(pass.resultcount, 0u);
  EXPECT_EQ(chainOf({}), (Members{}));
  EXPECT_EQ(chainOf({{10, 20, 10, 20, -1}, {30, 40, 30, 40, 7}}), (Members{1}));
}

TEST(Sweep, ReversePassChainsBackwardAlignments) {
  const std::vector<Ali> alis{{10, 50, 70, 95, 50}, {60, 90, 20, 60, 30}};
  EXPECT_EQ(chainOf(alis), (Members{0}));
  EXPECT_EQ(chainOf(alis, true), (Members{0, 1}));
  EXPECT_EQ(pass.resultscore, 8.0f);
}

struct TieCase {
  std::vector<Ali> alis;
};
void PrintTo(const TieCase &c, std::ostream *os) { *os << c.alis.size() << " alignments"; }

class SweepTie : public ::testing::TestWithParam<TieCase> {};

// Of equal-scoring chains the one whose last alignment ends first stays.
TEST_P(SweepTie, KeepsTheChainThatEndedFirst) {
  EXPECT_EQ(chainOf(GetParam().alis), (Members{0}));
  EXPECT_EQ(pass.resultscore, 5.0f);
}

INSTANTIATE_TEST_SUITE_P(
    PartExamples, SweepTie,
    ::testing::Values(TieCase{{{10, 20, 10, 30, 50}, {30, 40, 5, 60, 50}}},
                      TieCase{{{10, 20, 10, 60, 50}, {30, 40, 5, 30, 50}}},
                      TieCase{{{10, 20, 10, 60, 50}, {30, 40, 5, 60, 50}}}));

TEST(Sweep, EndingWhereALaterOneBeginsMayPrecedeIt) {
  EXPECT_EQ(chainOf({{10, 30, 10, 20, 50}, {30, 40, 25, 30, 50}}), (Members{0, 1}));
  EXPECT_EQ(chainOf({{30, 40, 25, 30, 50}, {10, 30, 10, 20, 50}}), (Members{1}))
      << "the lower-numbered begin comes first, so no chain; the one ending first stays";
}

TEST(Sweep, ChainSumBeyond64BitsIsFatal) {
  std::vector<Ali> alis;
  for (int64_t i = 0; i < 1000; ++i) alis.push_back({i * 10, i * 10 + 5, i * 10, i * 10 + 5, 10000000000000000});
  EXPECT_THROW(chainOf(alis), ChainSumOverflow);
}

// The best chain score against a plain quadratic dynamic programme, with
// coordinate spans that take the radix and the comparison sort.
TEST(Sweep, MatchesQuadraticChainingOnRandomInput) {
  std::mt19937_64 rng(4);
  for (int round = 0; round < 200; ++round) {
    const int64_t scale = round % 4 == 3 ? int64_t{1} << 40 : 1;
    std::vector<Ali> alis(rng() % 40);
    for (Ali &a : alis) {
      a.xb = static_cast<int64_t>(rng() % 100) * scale;
      a.xe = a.xb + static_cast<int64_t>(rng() % 20) * scale;
      a.yb = static_cast<int64_t>(rng() % 100) - 50;
      a.ye = a.yb + static_cast<int64_t>(rng() % 20);
      a.tenths = static_cast<int64_t>(rng() % 50) - 10;
    }
    // An alignment may follow one that ends where it begins when it comes
    // later in the input; by begin, then input order, predecessors come first.
    std::vector<size_t> order(alis.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t p, size_t q) { return alis[p].xb < alis[q].xb; });
    auto follows = [&](size_t j, size_t i) {
      const bool inX = alis[j].xe < alis[i].xb || (alis[j].xe == alis[i].xb && j < i);
      return inX && alis[j].ye < alis[i].yb;
    };
    std::vector<int64_t> best(alis.size());
    int64_t overall = 0;
    for (size_t i : order) {
      int64_t pred = 0;
      for (size_t j : order) {
        if (j == i) break;
        if (follows(j, i)) pred = std::max(pred, best[j]);
      }
      best[i] = alis[i].tenths + pred;
      overall = std::max(overall, best[i]);
    }
    const Members members = chainOf(alis);
    EXPECT_EQ(pass.resultsum, overall) << "round " << round;
    EXPECT_EQ(pass.resultscore, static_cast<float>(overall) / 10.0f) << "round " << round;
    int64_t sum = 0;
    for (size_t k = 0; k < members.size(); ++k) {
      sum += alis[members[k]].tenths;
      if (k > 0) {
        EXPECT_TRUE(follows(members[k - 1], members[k]) || follows(members[k], members[k - 1]));
      }
    }
    EXPECT_EQ(sum, overall) << "round " << round;
  }
}

}  // namespace
