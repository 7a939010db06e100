#include "filter.h"

#include "chains.h"
#include "coverage.h"

#include <algorithm>
#include <utility>

namespace alisyn {

namespace {

constexpr std::pair<FilterMode, const char *> FILTER_NAMES[] = {
    {FilterMode::NONE, "none"},
    {FilterMode::REFERENCE, "reference"},
    {FilterMode::QUERY, "query"},
    {FilterMode::ONE_TO_ONE, "one-to-one"}};

// Whether an alignment of `length` bases of which `covered` are taken may
// be kept: the shared bases are within the tolerance, and fewer than half
// its own, so that a short alignment inside a kept one is not kept for
// being shorter than the tolerance.
bool acceptable(uint64_t covered, uint64_t length, uint64_t tolerance) {
  return covered <= tolerance && 2 * covered < length;
}

// Every chain's members in the order the filter takes them: chains in
// decreasing score (of equal ones the first in `chains`), members in chain
// order.
std::vector<uint32_t> membersByScore(const ChainList &chains) {
  std::vector<uint32_t> members;
  members.reserve(chains.members.size());
  for (const uint32_t c : decreasingOrder(chains.scores)) members.insert(members.end(), chains.begin(c), chains.end(c));
  return members;
}

constexpr size_t PREFETCH_AHEAD = 16;

// Which alignments the filter keeps, by index.
std::vector<bool> keptAlignments(const std::vector<Piece> &pieces, const ChainList &chains, FilterMode mode,
                                 uint64_t tolerance, size_t references, size_t queries) {
  std::vector<bool> kept(pieces.size(), mode == FilterMode::NONE);
  if (mode == FilterMode::NONE) return kept;
  const bool byReference = mode != FilterMode::QUERY, byQuery = mode != FilterMode::REFERENCE;
  Coverage referenceCover(references), queryCover(queries);
  const std::vector<uint32_t> members = membersByScore(chains);
  for (size_t k = 0; k < members.size(); ++k) {
    // The alignments lie all over memory: asking for one a few turns ahead
    // overlaps its fetch with the coverage look-ups of those before.
    if (k + PREFETCH_AHEAD < members.size()) __builtin_prefetch(&pieces[members[k + PREFETCH_AHEAD]]);
    const uint32_t m = members[k];
    const Piece &p = pieces[m];
    if (byReference && !acceptable(referenceCover.covered(p.reference, p.xb, p.xe), p.xe - p.xb + 1, tolerance))
      continue;
    if (byQuery && !acceptable(queryCover.covered(p.query, p.yb, p.ye), p.ye - p.yb + 1, tolerance)) continue;
    kept[m] = true;
    referenceCover.add(p.reference, p.xb, p.xe);
    queryCover.add(p.query, p.yb, p.ye);
  }
  return kept;
}

void closePart(Block &part, const std::vector<Piece> &pieces, std::vector<Block> &out) {
  if (part.members.empty()) return;
  part.score = 0;
  for (const uint32_t m : part.members) part.score += pieces[m].score;
  out.push_back(std::move(part));
  part = Block{};
}

}  // namespace

bool filterModeFromName(std::string_view name, FilterMode &mode) {
  for (const auto &[m, n] : FILTER_NAMES)
    if (name == n) {
      mode = m;
      return true;
    }
  return false;
}

const char *filterModeName(FilterMode mode) {
  for (const auto &[m, n] : FILTER_NAMES)
    if (m == mode) return n;
  return "?";
}

std::vector<Block> filterBlocks(const std::vector<Piece> &pieces, const ChainList &chains, FilterMode mode,
                                const ChainSettings &settings, size_t references, size_t queries) {
  const std::vector<bool> kept = keptAlignments(pieces, chains, mode, settings.maxOverlap, references, queries);
  std::vector<Block> out;
  for (size_t c = 0; c < chains.size(); ++c) {
    Block part;
    for (const uint32_t *m = chains.begin(c); m != chains.end(c); ++m) {
      if (!kept[*m]) continue;
      if (!part.members.empty() && !mayPrecede(pieces[part.members.back()], pieces[*m], settings))
        closePart(part, pieces, out);
      part.members.push_back(*m);
    }
    closePart(part, pieces, out);
  }
  return out;
}

}  // namespace alisyn
