#include "classify.h"

#include "coverage.h"
#include "max_tree.h"

#include <algorithm>
#include <numeric>

namespace alisyn {

namespace {

struct BlockFacts {
  uint32_t reference, query;
  char strand;
  Span span;
  uint64_t queryBases;
};

// The block's own runs of bases in one sequence: its members' intervals merged.
std::vector<std::pair<uint64_t, uint64_t>> runsOf(const Block &block, const std::vector<Piece> &pieces,
                                                  bool reference) {
  std::vector<std::pair<uint64_t, uint64_t>> runs;
  for (const uint32_t m : block.members) {
    const Piece &p = pieces[m];
    runs.emplace_back(reference ? p.xb : p.yb, reference ? p.xe : p.ye);
  }
  std::sort(runs.begin(), runs.end());
  std::vector<std::pair<uint64_t, uint64_t>> merged;
  for (const auto &run : runs)
    if (!merged.empty() && run.first <= merged.back().second + 1)
      merged.back().second = std::max(merged.back().second, run.second);
    else
      merged.push_back(run);
  return merged;
}

// Marks duplicated blocks, in rank order against the blocks ranked before.
void markDuplicated(const std::vector<Piece> &pieces, const std::vector<Block> &blocks, size_t references,
                    size_t queries, std::vector<BlockClass> &classes) {
  std::vector<size_t> order(blocks.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return blocks[a].score > blocks[b].score; });
  Coverage referenceCover(references), queryCover(queries);
  for (const size_t b : order) {
    const Piece &first = pieces[blocks[b].members.front()];
    const auto referenceRuns = runsOf(blocks[b], pieces, true), queryRuns = runsOf(blocks[b], pieces, false);
    uint64_t rTotal = 0, rCovered = 0, qTotal = 0, qCovered = 0;
    for (const auto &[s, e] : referenceRuns) {
      rTotal += e - s + 1;
      rCovered += referenceCover.covered(first.reference, s, e);
    }
    for (const auto &[s, e] : queryRuns) {
      qTotal += e - s + 1;
      qCovered += queryCover.covered(first.query, s, e);
    }
    if (2 * rCovered > rTotal || 2 * qCovered > qTotal) classes[b] = BlockClass::DUPLICATED;
    for (const auto &[s, e] : referenceRuns) referenceCover.add(first.reference, s, e);
    for (const auto &[s, e] : queryRuns) queryCover.add(first.query, s, e);
  }
}

// The heaviest colinear set among `group` (blocks of one pair and strand),
// marked syntenic: a weighted longest rising (or falling) sequence.
void markColinear(const std::vector<BlockFacts> &facts, std::vector<size_t> group, char strand,
                  std::vector<BlockClass> &classes) {
  std::sort(group.begin(), group.end(), [&](size_t a, size_t b) {
    return std::make_pair(facts[a].span.xb, a) < std::make_pair(facts[b].span.xb, b);
  });
  std::vector<std::pair<uint64_t, size_t>> byStart;
  for (const size_t b : group) byStart.emplace_back(facts[b].span.yb, b);
  std::sort(byStart.begin(), byStart.end());
  std::vector<uint32_t> slot(facts.size());
  for (size_t k = 0; k < byStart.size(); ++k) slot[byStart[k].second] = static_cast<uint32_t>(k);
  MaxTree tree;
  tree.reset(group.size());
  std::vector<size_t> previous(facts.size(), SIZE_MAX);
  std::vector<double> total(facts.size(), 0);
  for (size_t g = 0; g < group.size();) {
    size_t h = g;
    for (; h < group.size() && facts[group[h]].span.xb == facts[group[g]].span.xb; ++h) {
      const size_t b = group[h];
      const auto at = std::make_pair(facts[b].span.yb, size_t{0});
      const auto low = std::lower_bound(byStart.begin(), byStart.end(), at) - byStart.begin();
      const auto high = std::upper_bound(byStart.begin(), byStart.end(), std::make_pair(at.first, SIZE_MAX)) -
                        byStart.begin();
      const Entry found = strand == '+' ? tree.best(0, static_cast<size_t>(low))
                                        : tree.best(static_cast<size_t>(high), byStart.size());
      total[b] = static_cast<double>(facts[b].queryBases) + (found.index == Entry::NONE ? 0 : found.value);
      previous[b] = found.index == Entry::NONE ? SIZE_MAX : found.index;
    }
    for (; g < h; ++g) tree.set(slot[group[g]], Entry{total[group[g]], static_cast<uint32_t>(group[g])});
  }
  const Entry best = tree.best(0, group.size());
  for (size_t b = best.index; b != SIZE_MAX; b = previous[b]) classes[b] = BlockClass::SYNTENIC;
}

// Whether a block of the other strand fits into the syntenic order.
bool fitsBetween(const std::vector<BlockFacts> &facts, const std::vector<size_t> &syntenic, size_t b,
                 char mainStrand) {
  const auto after = std::lower_bound(syntenic.begin(), syntenic.end(), facts[b].span.xb,
                                      [&](size_t s, uint64_t x) { return facts[s].span.xb < x; });
  if (after != syntenic.end() && facts[*after].span.xb == facts[b].span.xb) return false;
  const auto rises = [&](size_t lower, size_t upper) {
    return mainStrand == '+' ? facts[lower].span.yb < facts[upper].span.yb
                             : facts[lower].span.yb > facts[upper].span.yb;
  };
  return (after == syntenic.begin() || rises(*std::prev(after), b)) && (after == syntenic.end() || rises(b, *after));
}

Assignment assignQuery(const std::vector<BlockFacts> &facts, const std::vector<size_t> &own) {
  std::vector<std::pair<uint32_t, uint64_t>> perReference;  // reference, bases
  Assignment a;
  for (const size_t b : own) {
    a.aligned += facts[b].queryBases;
    auto at = std::find_if(perReference.begin(), perReference.end(),
                           [&](const auto &r) { return r.first == facts[b].reference; });
    if (at == perReference.end()) at = perReference.insert(perReference.end(), {facts[b].reference, 0});
    at->second += facts[b].queryBases;
  }
  for (const auto &[reference, bases] : perReference)
    if (bases > a.toReference || (bases == a.toReference && reference < a.reference)) {
      a.reference = reference;
      a.toReference = bases;
    }
  uint64_t plus = 0;
  for (const size_t b : own)
    if (facts[b].reference == a.reference && facts[b].strand == '+') plus += facts[b].queryBases;
  a.strand = 2 * plus >= a.toReference ? '+' : '-';
  a.onStrand = a.strand == '+' ? plus : a.toReference - plus;
  return a;
}

void classifyQuery(const std::vector<BlockFacts> &facts, const std::vector<size_t> &own, Assignment &a,
                   std::vector<BlockClass> &classes) {
  std::vector<size_t> main, other;
  for (const size_t b : own) {
    if (facts[b].reference != a.reference) continue;
    (facts[b].strand == a.strand ? main : other).push_back(b);
  }
  markColinear(facts, main, a.strand, classes);
  std::vector<size_t> syntenic;
  for (const size_t b : main)
    if (classes[b] == BlockClass::SYNTENIC) syntenic.push_back(b);
  std::sort(syntenic.begin(), syntenic.end(), [&](size_t x, size_t y) { return facts[x].span.xb < facts[y].span.xb; });
  for (const size_t b : other)
    if (fitsBetween(facts, syntenic, b, a.strand)) classes[b] = BlockClass::INVERTED;
}

}  // namespace

const char *className(BlockClass c) {
  switch (c) {
    case BlockClass::SYNTENIC: return "syntenic";
    case BlockClass::INVERTED: return "inverted";
    case BlockClass::TRANSLOCATED: return "translocated";
    case BlockClass::DUPLICATED: return "duplicated";
  }
  return "?";
}

Classification classify(const std::vector<Piece> &pieces, const std::vector<Block> &blocks, size_t references,
                        size_t queries) {
  Classification result;
  result.classes.assign(blocks.size(), BlockClass::TRANSLOCATED);
  markDuplicated(pieces, blocks, references, queries, result.classes);
  std::vector<BlockFacts> facts;
  std::vector<std::vector<size_t>> byQuery(queries);
  for (size_t b = 0; b < blocks.size(); ++b) {
    const Piece &first = pieces[blocks[b].members.front()];
    facts.push_back({first.reference, first.query, first.strand, spanOf(blocks[b], pieces),
                     queryBases(blocks[b], pieces)});
    if (result.classes[b] != BlockClass::DUPLICATED) byQuery[first.query].push_back(b);
  }
  for (uint32_t q = 0; q < queries; ++q) {
    if (byQuery[q].empty()) continue;
    Assignment a = assignQuery(facts, byQuery[q]);
    a.query = q;
    classifyQuery(facts, byQuery[q], a, result.classes);
    result.assignments.push_back(a);
  }
  return result;
}

}  // namespace alisyn
