#include "classify.h"

#include "chains.h"
#include "coverage.h"

#include <algorithm>

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
  std::vector<double> scores;
  for (const Block &block : blocks) scores.push_back(block.score);
  Coverage referenceCover(references), queryCover(queries);
  for (const uint32_t b : decreasingOrder(scores)) {
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

// The block's extent as an alignment on `strand`, weighted by its query
// bases, so that blocks chain by the rules of alignments.
Piece spanPiece(const BlockFacts &f, char strand) {
  Piece p;
  p.reference = f.reference;
  p.query = f.query;
  p.xb = f.span.xb, p.xe = f.span.xe, p.yb = f.span.yb, p.ye = f.span.ye;
  p.strand = strand;
  p.score = static_cast<double>(f.queryBases);
  return p;
}

// The heaviest chain of `group` (blocks of one pair and strand), by the
// rules of alignments without a gap limit, marked syntenic.
void markColinear(const std::vector<BlockFacts> &facts, const std::vector<size_t> &group, char strand,
                  uint64_t tolerance, std::vector<BlockClass> &classes) {
  if (group.empty()) return;
  std::vector<Piece> spans;
  for (const size_t b : group) spans.push_back(spanPiece(facts[b], strand));
  ChainSettings settings;
  settings.maxOverlap = tolerance;
  settings.maxGap = UINT64_MAX;
  const ChainEnds ends = bestChains(spans, settings);
  uint32_t end = 0;
  for (uint32_t k = 1; k < spans.size(); ++k)
    if (ends.best[k] > ends.best[end]) end = k;
  for (uint32_t k = end; k != ChainEnds::NO_PREVIOUS; k = ends.previous[k]) classes[group[k]] = BlockClass::SYNTENIC;
}

// Whether a block of the other strand fits into the syntenic order: turned
// to the main strand, it may come between two consecutive alignments of
// the syntenic blocks (or before the first, or after the last).
bool fitsBetween(const std::vector<Piece> &syntenic, const BlockFacts &block, char mainStrand,
                 uint64_t tolerance) {
  const Piece b = spanPiece(block, mainStrand);
  ChainSettings settings;
  settings.maxOverlap = tolerance;
  settings.maxGap = UINT64_MAX;
  const auto after = std::lower_bound(syntenic.begin(), syntenic.end(), b.xb,
                                      [](const Piece &s, uint64_t x) { return s.xb < x; });
  return (after == syntenic.begin() || mayPrecede(*std::prev(after), b, settings)) &&
         (after == syntenic.end() || mayPrecede(b, *after, settings));
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

void classifyQuery(const std::vector<Piece> &pieces, const std::vector<Block> &blocks,
                   const std::vector<BlockFacts> &facts, const std::vector<size_t> &own, const Assignment &a,
                   uint64_t tolerance, std::vector<BlockClass> &classes) {
  std::vector<size_t> main, other;
  for (const size_t b : own) {
    if (facts[b].reference != a.reference) continue;
    (facts[b].strand == a.strand ? main : other).push_back(b);
  }
  markColinear(facts, main, a.strand, tolerance, classes);
  std::vector<Piece> syntenic;
  for (const size_t b : main)
    if (classes[b] == BlockClass::SYNTENIC)
      for (const uint32_t m : blocks[b].members) syntenic.push_back(pieces[m]);
  std::sort(syntenic.begin(), syntenic.end(), [](const Piece &x, const Piece &y) { return x.xb < y.xb; });
  for (const size_t b : other)
    if (fitsBetween(syntenic, facts[b], a.strand, tolerance)) classes[b] = BlockClass::INVERTED;
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
                        size_t queries, uint64_t tolerance) {
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
    classifyQuery(pieces, blocks, facts, byQuery[q], a, tolerance, result.classes);
    result.assignments.push_back(a);
  }
  return result;
}

}  // namespace alisyn
