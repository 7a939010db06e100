// The sweep: alignments of one reference, query and strand are taken in
// order of reference start. An earlier alignment j becomes a candidate
// predecessor once the sweep reaches max(xb_j + 1, xe_j + 1 - maxOverlap)
// and stops being one after xe_j + 1 + maxGap, so the candidates at each
// start satisfy the reference conditions but "ends before i ends". The
// candidates sit in a max-tree ordered by their query end; a query for i
// asks for the query ends its query interval admits. The tree's best may
// still end at or after i's end in the reference (i shorter than the
// tolerance) or start at or after i's start in the query (j shorter than
// the tolerance): it is then put aside and the tree asked again. On the
// minus strand the query coordinates are mirrored (y -> 2^63 - y), which
// turns its rules into those of the plus strand.
#include "chains.h"

#include "max_tree.h"

#include <algorithm>
#include <numeric>
#include <tuple>

namespace alisyn {

namespace {

constexpr uint64_t MIRROR = uint64_t{1} << 63;
constexpr uint64_t NO_LIMIT = UINT64_MAX;

uint64_t addCapped(uint64_t a, uint64_t b) { return a > NO_LIMIT - b ? NO_LIMIT : a + b; }
uint64_t subtractFloored(uint64_t a, uint64_t b) { return a > b ? a - b : 0; }

// Whether [jb, je] may precede [ib, ie] on one line.
bool fitsBefore(uint64_t jb, uint64_t je, uint64_t ib, uint64_t ie, const ChainSettings &s) {
  if (jb >= ib || je >= ie) return false;
  if (je >= ib) return je - ib + 1 <= s.maxOverlap;
  return ib - je - 1 <= s.maxGap;
}

// The query interval as the sweep sees it: mirrored on '-'.
uint64_t sweepYb(const Piece &p) { return p.strand == '-' ? MIRROR - p.ye : p.yb; }
uint64_t sweepYe(const Piece &p) { return p.strand == '-' ? MIRROR - p.yb : p.ye; }

bool sameGroup(const Piece &a, const Piece &b) {
  return a.reference == b.reference && a.query == b.query && a.strand == b.strand;
}

// The state of the sweep over one group, reused from group to group.
struct Sweep {
  std::vector<uint32_t> byEnd, byEntry, byExit;  // the group's members in three orders
  std::vector<uint64_t> ends;                    // query ends in the order of byEnd
  std::vector<uint32_t> slot;                    // slot[member] in byEnd (indexed globally)
  std::vector<uint32_t> putAside;
  MaxTree tree;
};

uint64_t entryOf(const Piece &p, const ChainSettings &s) {
  return std::max(p.xb + 1, subtractFloored(p.xe + 1, s.maxOverlap));
}
uint64_t exitOf(const Piece &p, const ChainSettings &s) { return addCapped(p.xe + 1, s.maxGap); }

void prepareGroup(const std::vector<Piece> &pieces, const uint32_t *first, const uint32_t *last,
                  const ChainSettings &s, Sweep &w) {
  w.byEnd.assign(first, last);
  std::sort(w.byEnd.begin(), w.byEnd.end(), [&](uint32_t a, uint32_t b) {
    return std::make_pair(sweepYe(pieces[a]), a) < std::make_pair(sweepYe(pieces[b]), b);
  });
  w.ends.clear();
  for (size_t k = 0; k < w.byEnd.size(); ++k) {
    w.ends.push_back(sweepYe(pieces[w.byEnd[k]]));
    w.slot[w.byEnd[k]] = static_cast<uint32_t>(k);
  }
  w.byEntry.assign(first, last);
  std::sort(w.byEntry.begin(), w.byEntry.end(),
            [&](uint32_t a, uint32_t b) { return entryOf(pieces[a], s) < entryOf(pieces[b], s); });
  w.byExit.assign(first, last);
  std::sort(w.byExit.begin(), w.byExit.end(),
            [&](uint32_t a, uint32_t b) { return exitOf(pieces[a], s) < exitOf(pieces[b], s); });
  w.tree.reset(w.byEnd.size());
}

// The best admissible predecessor of i among the tree's candidates.
Entry bestPredecessor(const std::vector<Piece> &pieces, uint32_t i, const ChainSettings &s, Sweep &w) {
  const Piece &p = pieces[i];
  const uint64_t yb = sweepYb(p), ye = sweepYe(p);
  const uint64_t low = subtractFloored(yb, addCapped(s.maxGap, 1));
  const uint64_t high = std::min(addCapped(yb - 1, s.maxOverlap), ye - 1);
  const size_t first = static_cast<size_t>(std::lower_bound(w.ends.begin(), w.ends.end(), low) - w.ends.begin());
  const size_t last = static_cast<size_t>(std::upper_bound(w.ends.begin(), w.ends.end(), high) - w.ends.begin());
  if (first >= last) return MaxTree::EMPTY;
  Entry found = w.tree.best(first, last);
  while (found.index != Entry::NONE && !mayPrecede(pieces[found.index], p, s)) {
    w.putAside.push_back(found.index);
    w.tree.clear(w.slot[found.index]);
    found = w.tree.best(first, last);
  }
  return found;
}

void sweepGroup(const std::vector<Piece> &pieces, const uint32_t *first, const uint32_t *last,
                const ChainSettings &s, Sweep &w, ChainEnds &ends) {
  prepareGroup(pieces, first, last, s, w);
  size_t entered = 0, exited = 0;
  for (const uint32_t *at = first; at != last; ++at) {
    const uint32_t i = *at;
    const uint64_t xb = pieces[i].xb;
    for (; entered < w.byEntry.size() && entryOf(pieces[w.byEntry[entered]], s) <= xb; ++entered) {
      const uint32_t j = w.byEntry[entered];
      w.tree.set(w.slot[j], Entry{ends.best[j], j});
    }
    for (; exited < w.byExit.size() && exitOf(pieces[w.byExit[exited]], s) < xb; ++exited)
      w.tree.clear(w.slot[w.byExit[exited]]);
    const Entry found = bestPredecessor(pieces, i, s, w);
    for (const uint32_t j : w.putAside) w.tree.set(w.slot[j], Entry{ends.best[j], j});
    w.putAside.clear();
    const bool extend = found.index != Entry::NONE && found.value > 0;
    ends.best[i] = pieces[i].score + (extend ? found.value : 0);
    ends.previous[i] = extend ? found.index : ChainEnds::NO_PREVIOUS;
  }
}

}  // namespace

bool mayPrecede(const Piece &j, const Piece &i, const ChainSettings &settings) {
  if (!sameGroup(j, i) || !fitsBefore(j.xb, j.xe, i.xb, i.xe, settings)) return false;
  return j.strand == '-' ? fitsBefore(i.yb, i.ye, j.yb, j.ye, settings)
                         : fitsBefore(j.yb, j.ye, i.yb, i.ye, settings);
}

ChainEnds bestChains(const std::vector<Piece> &pieces, const ChainSettings &settings) {
  ChainEnds ends;
  ends.best.assign(pieces.size(), 0);
  ends.previous.assign(pieces.size(), ChainEnds::NO_PREVIOUS);
  std::vector<uint32_t> order(pieces.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    const Piece &p = pieces[a], &q = pieces[b];
    return std::tie(p.reference, p.query, p.strand, p.xb, a) < std::tie(q.reference, q.query, q.strand, q.xb, b);
  });
  Sweep sweep;
  sweep.slot.assign(pieces.size(), 0);
  for (size_t g = 0; g < order.size();) {
    size_t h = g + 1;
    while (h < order.size() && sameGroup(pieces[order[g]], pieces[order[h]])) ++h;
    sweepGroup(pieces, order.data() + g, order.data() + h, settings, sweep, ends);
    g = h;
  }
  return ends;
}

std::vector<Block> extractChains(const std::vector<Piece> &pieces, const ChainEnds &ends,
                                 const ChainSettings &settings) {
  std::vector<uint32_t> order(pieces.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    return ends.best[a] > ends.best[b] || (ends.best[a] == ends.best[b] && a < b);
  });
  std::vector<bool> taken(pieces.size(), false);
  std::vector<Block> blocks;
  Block chain;
  for (const uint32_t end : order) {
    chain.members.clear();
    for (uint32_t k = end; k != ChainEnds::NO_PREVIOUS && !taken[k]; k = ends.previous[k]) {
      chain.members.push_back(k);
      taken[k] = true;
    }
    if (chain.members.empty()) continue;
    std::reverse(chain.members.begin(), chain.members.end());
    chain.score = 0;
    for (const uint32_t m : chain.members) chain.score += pieces[m].score;
    if (chain.score >= settings.minScore && referenceBases(chain, pieces) >= settings.minLength)
      blocks.push_back(chain);
  }
  return blocks;
}

}  // namespace alisyn
