// Classification against its definition computed by exhaustive search:
// the syntenic set must weigh as much as the heaviest colinear set, and
// every other class follows from it and from plain per-base counts.
#include "chains.h"
#include "classify.h"
#include "random_pieces.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace alisyn {
namespace {

struct Facts {
  uint32_t reference, query;
  char strand;
  Span span;
  std::set<uint64_t> referencePositions, queryPositions;
};

Facts factsOf(const Block &b, const std::vector<Piece> &pieces) {
  Facts f{pieces[b.members[0]].reference, pieces[b.members[0]].query, pieces[b.members[0]].strand,
          spanOf(b, pieces), {}, {}};
  for (const uint32_t m : b.members) {
    for (uint64_t x = pieces[m].xb; x <= pieces[m].xe; ++x) f.referencePositions.insert(x);
    for (uint64_t y = pieces[m].yb; y <= pieces[m].ye; ++y) f.queryPositions.insert(y);
  }
  return f;
}

std::vector<bool> plainDuplicated(const std::vector<Block> &blocks, const std::vector<Facts> &facts) {
  std::vector<size_t> order;
  for (size_t b = 0; b < blocks.size(); ++b) order.push_back(b);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return blocks[a].score > blocks[b].score; });
  std::set<std::pair<uint32_t, uint64_t>> referenceSeen, querySeen;
  std::vector<bool> duplicated(blocks.size(), false);
  for (const size_t b : order) {
    size_t r = 0, q = 0;
    for (const uint64_t x : facts[b].referencePositions) r += referenceSeen.count({facts[b].reference, x});
    for (const uint64_t y : facts[b].queryPositions) q += querySeen.count({facts[b].query, y});
    duplicated[b] = 2 * r > facts[b].referencePositions.size() || 2 * q > facts[b].queryPositions.size();
    for (const uint64_t x : facts[b].referencePositions) referenceSeen.insert({facts[b].reference, x});
    for (const uint64_t y : facts[b].queryPositions) querySeen.insert({facts[b].query, y});
  }
  return duplicated;
}

Piece extent(const Facts &f, char strand) {
  return Piece{f.reference, f.query, f.span.xb, f.span.xe, f.span.yb, f.span.ye, strand, 0};
}

ChainSettings noGapLimit(uint64_t tolerance) {
  ChainSettings s;
  s.maxOverlap = tolerance;
  s.maxGap = UINT64_MAX;
  return s;
}

bool inOrder(const Facts &a, const Facts &b, char strand, uint64_t tolerance) {
  return plainMayPrecede(extent(a, strand), extent(b, strand), noGapLimit(tolerance));
}

// The heaviest weight of a colinear subset, by trying every subset.
uint64_t heaviestColinear(const std::vector<size_t> &group, const std::vector<Facts> &facts, char strand,
                          uint64_t tolerance) {
  uint64_t best = 0;
  for (uint32_t mask = 1; mask < (1u << group.size()); ++mask) {
    std::vector<size_t> chosen;
    for (size_t k = 0; k < group.size(); ++k)
      if (mask >> k & 1) chosen.push_back(group[k]);
    std::sort(chosen.begin(), chosen.end(), [&](size_t a, size_t b) { return facts[a].span.xb < facts[b].span.xb; });
    bool colinear = true;
    uint64_t weight = facts[chosen[0]].queryPositions.size();
    for (size_t k = 1; k < chosen.size(); ++k) {
      colinear = colinear && inOrder(facts[chosen[k - 1]], facts[chosen[k]], strand, tolerance);
      weight += facts[chosen[k]].queryPositions.size();
    }
    if (colinear) best = std::max(best, weight);
  }
  return best;
}

TEST(Classify, AgainstExhaustiveSearch) {
  Random random(11);
  int checked = 0;
  for (int round = 0; round < 3000; ++round) {
    const auto pieces = random.pieces(1 + random.below(30), 1 + static_cast<uint32_t>(random.below(3)),
                                      1 + static_cast<uint32_t>(random.below(2)));
    ChainSettings s;
    s.maxOverlap = random.below(10);
    s.maxGap = random.below(60);
    auto blocks = blocksOf(extractChains(pieces, bestChains(pieces, s), s));
    sortBlocks(blocks, pieces);
    std::vector<Facts> facts;
    for (const Block &b : blocks) facts.push_back(factsOf(b, pieces));
    const Classification got = classify(pieces, blocks, 3, 2, s.maxOverlap);
    const std::vector<bool> duplicated = plainDuplicated(blocks, facts);
    size_t assignment = 0;
    for (uint32_t q = 0; q < 2; ++q) {
      std::map<uint32_t, uint64_t> perReference;
      uint64_t aligned = 0;
      for (size_t b = 0; b < blocks.size(); ++b)
        if (facts[b].query == q && !duplicated[b]) {
          perReference[facts[b].reference] += facts[b].queryPositions.size();
          aligned += facts[b].queryPositions.size();
        }
      if (perReference.empty()) continue;
      // The map iterates by rising reference number: the first maximum is the lowest number.
      const auto main = std::max_element(perReference.begin(), perReference.end(),
                                         [](const auto &a, const auto &b) { return a.second < b.second; });
      uint64_t plus = 0;
      std::vector<size_t> mainBlocks, otherBlocks;
      for (size_t b = 0; b < blocks.size(); ++b)
        if (facts[b].query == q && !duplicated[b] && facts[b].reference == main->first)
          plus += facts[b].strand == '+' ? facts[b].queryPositions.size() : 0;
      const char strand = 2 * plus >= main->second ? '+' : '-';
      ASSERT_LT(assignment, got.assignments.size());
      const Assignment &a = got.assignments[assignment++];
      EXPECT_EQ(q, a.query);
      EXPECT_EQ(main->first, a.reference);
      EXPECT_EQ(strand, a.strand);
      EXPECT_EQ(aligned, a.aligned);
      EXPECT_EQ(main->second, a.toReference);
      EXPECT_EQ(strand == '+' ? plus : main->second - plus, a.onStrand);
      for (size_t b = 0; b < blocks.size(); ++b)
        if (facts[b].query == q && !duplicated[b] && facts[b].reference == main->first)
          (facts[b].strand == strand ? mainBlocks : otherBlocks).push_back(b);
      if (mainBlocks.size() > 14) continue;
      ++checked;
      std::vector<size_t> syntenic;
      uint64_t weight = 0;
      for (const size_t b : mainBlocks)
        if (got.classes[b] == BlockClass::SYNTENIC) {
          syntenic.push_back(b);
          weight += facts[b].queryPositions.size();
        }
      EXPECT_EQ(heaviestColinear(mainBlocks, facts, strand, s.maxOverlap), weight) << "round " << round;
      std::sort(syntenic.begin(), syntenic.end(),
                [&](size_t x, size_t y) { return facts[x].span.xb < facts[y].span.xb; });
      std::vector<Piece> order;  // the syntenic blocks' alignments, in order
      for (size_t k = 0; k < syntenic.size(); ++k) {
        if (k > 0) {
          EXPECT_TRUE(inOrder(facts[syntenic[k - 1]], facts[syntenic[k]], strand, s.maxOverlap));
        }
        for (const uint32_t m : blocks[syntenic[k]].members) order.push_back(pieces[m]);
      }
      for (const size_t b : otherBlocks) {
        // Inverted: insertable somewhere into the order of syntenic alignments.
        const Piece turned = extent(facts[b], strand);
        bool fits = false;
        for (size_t k = 0; k <= order.size(); ++k)
          fits = fits || ((k == 0 || plainMayPrecede(order[k - 1], turned, noGapLimit(s.maxOverlap))) &&
                          (k == order.size() || plainMayPrecede(turned, order[k], noGapLimit(s.maxOverlap))));
        EXPECT_EQ(fits ? BlockClass::INVERTED : BlockClass::TRANSLOCATED, got.classes[b]) << "round " << round;
      }
    }
    EXPECT_EQ(assignment, got.assignments.size());
    for (size_t b = 0; b < blocks.size(); ++b) {
      EXPECT_EQ(duplicated[b], got.classes[b] == BlockClass::DUPLICATED) << "round " << round;
    }
  }
  EXPECT_GT(checked, 2000);
}

}  // namespace
}  // namespace alisyn
