// The synteny core against plain quadratic implementations of the same
// definitions, on random alignments of a few sequence pairs on both
// strands, with overlaps, gaps and tied scores.
#include "chains.h"
#include "classify.h"
#include "filter.h"
#include "random_pieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace alisyn {
namespace {

struct Setting {
  uint64_t maxOverlap, maxGap;
};

// Names the setting in test listings.
void PrintTo(const Setting &s, std::ostream *os) { *os << "overlap " << s.maxOverlap << " gap " << s.maxGap; }

ChainEnds plainBestChains(const std::vector<Piece> &pieces, const ChainSettings &s) {
  ChainEnds ends;
  ends.best.assign(pieces.size(), 0);
  ends.previous.assign(pieces.size(), ChainEnds::NO_PREVIOUS);
  std::vector<uint32_t> order(pieces.size());
  for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) { return pieces[a].xb < pieces[b].xb; });
  for (const uint32_t i : order) {
    uint32_t best = ChainEnds::NO_PREVIOUS;
    for (uint32_t j = 0; j < pieces.size(); ++j)
      if (plainMayPrecede(pieces[j], pieces[i], s) &&
          (best == ChainEnds::NO_PREVIOUS || ends.best[j] > ends.best[best]))
        best = j;
    const bool extend = best != ChainEnds::NO_PREVIOUS && ends.best[best] > 0;
    ends.best[i] = pieces[i].score + (extend ? ends.best[best] : 0);
    ends.previous[i] = extend ? best : ChainEnds::NO_PREVIOUS;
  }
  return ends;
}

uint64_t plainBases(const Block &b, const std::vector<Piece> &pieces, bool reference) {
  std::set<uint64_t> positions;
  for (const uint32_t m : b.members)
    for (uint64_t x = reference ? pieces[m].xb : pieces[m].yb; x <= (reference ? pieces[m].xe : pieces[m].ye); ++x)
      positions.insert(x);
  return positions.size();
}

std::vector<Block> plainExtract(const std::vector<Piece> &pieces, const ChainEnds &ends, const ChainSettings &s) {
  std::vector<bool> taken(pieces.size(), false);
  std::vector<Block> out;
  for (;;) {
    uint32_t end = ChainEnds::NO_PREVIOUS;
    for (uint32_t i = 0; i < pieces.size(); ++i)
      if (!taken[i] && (end == ChainEnds::NO_PREVIOUS || ends.best[i] > ends.best[end])) end = i;
    if (end == ChainEnds::NO_PREVIOUS) return out;
    Block b;
    for (uint32_t k = end; k != ChainEnds::NO_PREVIOUS && !taken[k]; k = ends.previous[k]) {
      b.members.insert(b.members.begin(), k);
      taken[k] = true;
    }
    for (const uint32_t m : b.members) b.score += pieces[m].score;
    if (b.score >= s.minScore && plainBases(b, pieces, true) >= s.minLength) out.push_back(b);
  }
}

// Marks of covered bases per sequence and position.
using Marks = std::map<std::pair<uint32_t, uint64_t>, bool>;
uint64_t plainCovered(const Marks &marks, uint32_t sequence, uint64_t b, uint64_t e) {
  uint64_t n = 0;
  for (uint64_t x = b; x <= e; ++x) n += marks.count({sequence, x});
  return n;
}
void plainMark(Marks &marks, uint32_t sequence, uint64_t b, uint64_t e) {
  for (uint64_t x = b; x <= e; ++x) marks[{sequence, x}] = true;
}

std::vector<Block> plainFilter(const std::vector<Piece> &pieces, const std::vector<Block> &blocks, FilterMode mode,
                               const ChainSettings &s) {
  std::vector<size_t> order;
  for (size_t b = 0; b < blocks.size(); ++b) order.push_back(b);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return blocks[a].score > blocks[b].score; });
  Marks reference, query;
  std::set<uint32_t> kept;
  for (const size_t b : order)
    for (const uint32_t m : blocks[b].members) {
      const Piece &p = pieces[m];
      const bool refOk = mode == FilterMode::QUERY || mode == FilterMode::NONE ||
                         (plainCovered(reference, p.reference, p.xb, p.xe) <= s.maxOverlap &&
                          2 * plainCovered(reference, p.reference, p.xb, p.xe) < p.xe - p.xb + 1);
      const bool queryOk = mode == FilterMode::REFERENCE || mode == FilterMode::NONE ||
                           (plainCovered(query, p.query, p.yb, p.ye) <= s.maxOverlap &&
                            2 * plainCovered(query, p.query, p.yb, p.ye) < p.ye - p.yb + 1);
      if (!refOk || !queryOk) continue;
      kept.insert(m);
      plainMark(reference, p.reference, p.xb, p.xe);
      plainMark(query, p.query, p.yb, p.ye);
    }
  std::vector<Block> out;
  for (const Block &block : blocks) {
    std::vector<uint32_t> members;
    for (const uint32_t m : block.members)
      if (kept.count(m)) members.push_back(m);
    for (size_t k = 0; k < members.size();) {
      Block part;
      part.members.push_back(members[k++]);
      while (k < members.size() && plainMayPrecede(pieces[part.members.back()], pieces[members[k]], s))
        part.members.push_back(members[k++]);
      for (const uint32_t m : part.members) part.score += pieces[m].score;
      out.push_back(part);
    }
  }
  return out;
}

void expectSameBlocks(const std::vector<Block> &expected, const std::vector<Block> &got) {
  ASSERT_EQ(expected.size(), got.size());
  for (size_t b = 0; b < got.size(); ++b) {
    EXPECT_EQ(expected[b].members, got[b].members) << "block " << b;
    EXPECT_EQ(expected[b].score, got[b].score) << "block " << b;
  }
}

class CoreAgainstPlain : public ::testing::TestWithParam<Setting> {
 protected:
  ChainSettings settings() const {
    ChainSettings s;
    s.maxOverlap = GetParam().maxOverlap;
    s.maxGap = GetParam().maxGap;
    return s;
  }
};

TEST_P(CoreAgainstPlain, PrecedenceBestChainsAndExtraction) {
  Random random(static_cast<uint32_t>(GetParam().maxOverlap * 1000 + GetParam().maxGap));
  for (int round = 0; round < 400; ++round) {
    const auto pieces = random.pieces(1 + random.below(70), 1 + static_cast<uint32_t>(random.below(2)),
                                      1 + static_cast<uint32_t>(random.below(2)));
    ChainSettings s = settings();
    s.minScore = static_cast<double>(random.below(6));
    s.minLength = random.below(3) == 0 ? random.below(80) : 0;
    for (const Piece &j : pieces)
      for (const Piece &i : pieces) ASSERT_EQ(plainMayPrecede(j, i, s), mayPrecede(j, i, s));
    const ChainEnds expected = plainBestChains(pieces, s), got = bestChains(pieces, s);
    ASSERT_EQ(expected.best, got.best) << "round " << round;
    ASSERT_EQ(expected.previous, got.previous) << "round " << round;
    const auto blocks = blocksOf(extractChains(pieces, got, s));
    expectSameBlocks(plainExtract(pieces, got, s), blocks);
    // Groups shared out among threads: the same ends.
    for (const int threads : {2, 3, 9}) {
      const ChainEnds shared = bestChains(pieces, s, threads);
      ASSERT_EQ(got.best, shared.best) << "round " << round << ", " << threads << " threads";
      ASSERT_EQ(got.previous, shared.previous) << "round " << round << ", " << threads << " threads";
    }
    for (const Block &b : blocks) {
      EXPECT_EQ(plainBases(b, pieces, true), referenceBases(b, pieces));
      EXPECT_EQ(plainBases(b, pieces, false), queryBases(b, pieces));
      for (size_t k = 1; k < b.members.size(); ++k)
        EXPECT_TRUE(plainMayPrecede(pieces[b.members[k - 1]], pieces[b.members[k]], s));
    }
  }
}

TEST_P(CoreAgainstPlain, Filters) {
  Random random(static_cast<uint32_t>(7 + GetParam().maxOverlap * 1000 + GetParam().maxGap));
  for (int round = 0; round < 300; ++round) {
    const auto pieces = random.pieces(1 + random.below(50), 1 + static_cast<uint32_t>(random.below(2)),
                                      1 + static_cast<uint32_t>(random.below(3)));
    const ChainSettings s = settings();
    const ChainList chains = extractChains(pieces, bestChains(pieces, s), s);
    for (const FilterMode mode : {FilterMode::NONE, FilterMode::REFERENCE, FilterMode::QUERY, FilterMode::ONE_TO_ONE})
      expectSameBlocks(plainFilter(pieces, blocksOf(chains), mode, s), filterBlocks(pieces, chains, mode, s, 2, 3));
  }
}

INSTANTIATE_TEST_SUITE_P(Tolerances, CoreAgainstPlain,
                         ::testing::Values(Setting{0, 0}, Setting{0, 30}, Setting{5, 10}, Setting{20, 50},
                                           Setting{3, 1000}, Setting{100, 100}));

TEST(Chains, HugeLimitsDoNotOverflow) {
  std::vector<Piece> pieces(2);
  pieces[0] = Piece{0, 0, 1, 10, 1, 10, '+', 1};
  pieces[1] = Piece{0, 0, 20, 30, 20, 30, '+', 1};
  ChainSettings s;
  s.maxOverlap = UINT64_MAX;
  s.maxGap = UINT64_MAX;
  EXPECT_EQ(0u, bestChains(pieces, s).previous[1]);
  pieces[0].strand = pieces[1].strand = '-';
  pieces[0].yb = 20, pieces[0].ye = 30, pieces[1].yb = 1, pieces[1].ye = 10;
  EXPECT_EQ(0u, bestChains(pieces, s).previous[1]);
}

}  // namespace
}  // namespace alisyn
