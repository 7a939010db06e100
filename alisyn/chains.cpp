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
#include "parallel.h"

#include <algorithm>
#include <unordered_map>

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

// An alignment as the sweep sees it: the query interval mirrored on '-',
// and where in the input it stands.
struct Swept {
  uint64_t xb, xe, yb, ye;
  double score;
  uint32_t index;
};

Swept sweptOf(const Piece &p, uint32_t index) {
  const bool minus = p.strand == '-';
  return Swept{p.xb, p.xe, minus ? MIRROR - p.ye : p.yb, minus ? MIRROR - p.yb : p.ye, p.score, index};
}

// Whether j may precede i, both of one group.
bool fitsBeforeSwept(const Swept &j, const Swept &i, const ChainSettings &s) {
  return fitsBefore(j.xb, j.xe, i.xb, i.xe, s) && fitsBefore(j.yb, j.ye, i.yb, i.ye, s);
}

bool sameGroup(const Piece &a, const Piece &b) {
  return a.reference == b.reference && a.query == b.query && a.strand == b.strand;
}

// A value with the member (its place in the sweep order) or alignment it
// belongs to, sorted by value: the sweep's orders are such lists, so that
// sorting compares neighbouring memory, not alignments all over the input.
using Keyed = std::pair<uint64_t, uint32_t>;

// The state of the sweep over one group, reused from group to group. A
// group's members are numbered by their place in the sweep order.
struct Sweep {
  std::vector<Swept> members;
  std::vector<Keyed> byEntry, byExit;  // entry and exit positions of the members, sorted
  std::vector<uint64_t> ends;          // the members' query ends, sorted
  std::vector<uint32_t> slot;          // slot[member] in `ends`
  std::vector<double> best;            // best[member]
  std::vector<uint32_t> putAside;      // members
  MaxTree tree;
};

uint64_t entryOf(const Swept &p, const ChainSettings &s) {
  return std::max(p.xb + 1, subtractFloored(p.xe + 1, s.maxOverlap));
}
uint64_t exitOf(const Swept &p, const ChainSettings &s) { return addCapped(p.xe + 1, s.maxGap); }

// Sorted (value, member) pairs of every member.
template <typename Value>
void sortedBy(const std::vector<Swept> &members, Value value, std::vector<Keyed> &out) {
  out.resize(members.size());
  for (size_t k = 0; k < members.size(); ++k) out[k] = Keyed{value(members[k]), static_cast<uint32_t>(k)};
  std::sort(out.begin(), out.end());
}

// The alignments by group, groups numbered in order of first appearance
// (their order changes no result), each group's in input order: a
// counting sort by group number.
void groupPieces(const std::vector<Piece> &pieces, std::vector<uint32_t> &order, std::vector<size_t> &groups) {
  std::unordered_map<uint64_t, uint32_t> numbers[2];  // by strand: reference << 32 | query -> group
  std::vector<uint32_t> groupOf(pieces.size());
  std::vector<size_t> sizes;
  const Piece *last = nullptr;
  for (size_t i = 0; i < pieces.size(); ++i) {
    const Piece &p = pieces[i];
    // Aligners write one pair's alignments together: most belong to the
    // group of the one before.
    if (last && sameGroup(*last, p)) {
      groupOf[i] = groupOf[i - 1];
    } else {
      const auto [at, added] = numbers[p.strand == '-'].emplace(uint64_t{p.reference} << 32 | p.query,
                                                                 static_cast<uint32_t>(sizes.size()));
      if (added) sizes.push_back(0);
      groupOf[i] = at->second;
    }
    ++sizes[groupOf[i]];
    last = &p;
  }
  groups.assign(sizes.size() + 1, 0);
  for (size_t g = 0; g < sizes.size(); ++g) groups[g + 1] = groups[g] + sizes[g];
  std::vector<size_t> next(groups.begin(), groups.end() - 1);
  order.resize(pieces.size());
  for (size_t i = 0; i < pieces.size(); ++i) order[next[groupOf[i]]++] = static_cast<uint32_t>(i);
}

// Puts one group's alignments in sweep order: by reference start, then
// place in the input.
void sortGroup(const std::vector<Piece> &pieces, uint32_t *first, uint32_t *last, std::vector<Keyed> &keys) {
  keys.clear();
  for (const uint32_t *at = first; at != last; ++at) keys.emplace_back(pieces[*at].xb, *at);
  std::sort(keys.begin(), keys.end());
  for (const Keyed &k : keys) *first++ = k.second;
}

void prepareGroup(const std::vector<Piece> &pieces, const uint32_t *first, const uint32_t *last,
                  const ChainSettings &s, Sweep &w) {
  w.members.clear();
  for (const uint32_t *at = first; at != last; ++at) w.members.push_back(sweptOf(pieces[*at], *at));
  std::vector<Keyed> &byEnd = w.byExit;  // borrowed until the exits are sorted
  sortedBy(w.members, [](const Swept &p) { return p.ye; }, byEnd);
  w.ends.resize(byEnd.size());
  w.slot.resize(byEnd.size());
  for (size_t k = 0; k < byEnd.size(); ++k) {
    w.ends[k] = byEnd[k].first;
    w.slot[byEnd[k].second] = static_cast<uint32_t>(k);
  }
  sortedBy(w.members, [&](const Swept &p) { return entryOf(p, s); }, w.byEntry);
  sortedBy(w.members, [&](const Swept &p) { return exitOf(p, s); }, w.byExit);
  w.best.resize(w.members.size());
  w.tree.reset(w.members.size());
}

// The best admissible predecessor of member i among the tree's candidates.
Entry bestPredecessor(uint32_t i, const ChainSettings &s, Sweep &w) {
  const Swept &p = w.members[i];
  const uint64_t low = subtractFloored(p.yb, addCapped(s.maxGap, 1));
  const uint64_t high = std::min(addCapped(p.yb - 1, s.maxOverlap), p.ye - 1);
  const size_t first = static_cast<size_t>(std::lower_bound(w.ends.begin(), w.ends.end(), low) - w.ends.begin());
  const size_t last = static_cast<size_t>(std::upper_bound(w.ends.begin(), w.ends.end(), high) - w.ends.begin());
  if (first >= last) return MaxTree::EMPTY;
  Entry found = w.tree.best(first, last);
  while (found.index != Entry::NONE && !fitsBeforeSwept(w.members[found.tag], p, s)) {
    w.putAside.push_back(found.tag);
    w.tree.clear(w.slot[found.tag]);
    found = w.tree.best(first, last);
  }
  return found;
}

// Makes member j a candidate predecessor.
void enter(uint32_t j, Sweep &w) { w.tree.set(w.slot[j], Entry{w.best[j], w.members[j].index, j}); }

void sweepGroup(const std::vector<Piece> &pieces, const uint32_t *first, const uint32_t *last,
                const ChainSettings &s, Sweep &w, ChainEnds &ends) {
  prepareGroup(pieces, first, last, s, w);
  size_t entered = 0, exited = 0;
  for (uint32_t i = 0; i < w.members.size(); ++i) {
    const uint64_t xb = w.members[i].xb;
    for (; entered < w.byEntry.size() && w.byEntry[entered].first <= xb; ++entered) enter(w.byEntry[entered].second, w);
    for (; exited < w.byExit.size() && w.byExit[exited].first < xb; ++exited)
      w.tree.clear(w.slot[w.byExit[exited].second]);
    const Entry found = bestPredecessor(i, s, w);
    for (const uint32_t j : w.putAside) enter(j, w);
    w.putAside.clear();
    const bool extend = found.index != Entry::NONE && found.value > 0;
    w.best[i] = w.members[i].score + (extend ? found.value : 0);
    ends.best[w.members[i].index] = w.best[i];
    ends.previous[w.members[i].index] = extend ? found.index : ChainEnds::NO_PREVIOUS;
  }
}

// The groups shared out among `threads` parts of about equal numbers of
// alignments: part p takes groups [parts[p], parts[p + 1]). No more parts
// than groups, and at least one.
std::vector<size_t> shareGroups(const std::vector<size_t> &groups, int threads) {
  const size_t count = groups.size() - 1, total = groups.back();
  const size_t wanted = std::max<size_t>(1, std::min<size_t>(static_cast<size_t>(threads), count));
  std::vector<size_t> parts{0};
  for (size_t g = 0; g < count; ++g)
    if (parts.size() < wanted && groups[g + 1] * wanted >= total * parts.size()) parts.push_back(g + 1);
  if (parts.back() != count) parts.push_back(count);
  return parts;
}

// The chain ending at `end`, unless `end` is taken: back through previous
// until an alignment taken before (`path` is room for it); added to
// `chains` unless dropped.
void takeChain(const std::vector<Piece> &pieces, const ChainEnds &ends, const ChainSettings &settings,
               uint32_t end, std::vector<char> &taken, std::vector<uint32_t> &path, ChainList &chains) {
  path.clear();
  for (uint32_t k = end; k != ChainEnds::NO_PREVIOUS && !taken[k]; k = ends.previous[k]) {
    path.push_back(k);
    taken[k] = true;
  }
  if (path.empty()) return;
  std::reverse(path.begin(), path.end());
  double score = 0;
  for (const uint32_t m : path) score += pieces[m].score;
  if (score < settings.minScore) return;
  if (settings.minLength != 0 && referenceBases(Block{path, score}, pieces) < settings.minLength) return;
  chains.add(path.data(), path.data() + path.size(), score);
}

}  // namespace

bool mayPrecede(const Piece &j, const Piece &i, const ChainSettings &settings) {
  return sameGroup(j, i) && fitsBeforeSwept(sweptOf(j, 0), sweptOf(i, 0), settings);
}

ChainEnds bestChains(const std::vector<Piece> &pieces, const ChainSettings &settings, int threads) {
  ChainEnds ends;
  ends.best.assign(pieces.size(), 0);
  ends.previous.assign(pieces.size(), ChainEnds::NO_PREVIOUS);
  std::vector<uint32_t> order;
  std::vector<size_t> groups;
  groupPieces(pieces, order, groups);
  // Each part puts its own groups in sweep order, and writes the best and
  // previous of their members.
  const std::vector<size_t> parts = shareGroups(groups, threads);
  common::inParallel(static_cast<int>(parts.size()) - 1, [&](int part) {
    Sweep sweep;
    std::vector<Keyed> keys;
    for (size_t g = parts[part]; g < parts[part + 1]; ++g) {
      uint32_t *first = order.data() + groups[g], *last = order.data() + groups[g + 1];
      sortGroup(pieces, first, last, keys);
      sweepGroup(pieces, first, last, settings, sweep, ends);
    }
  });
  return ends;
}

ChainList extractChains(const std::vector<Piece> &pieces, const ChainEnds &ends, const ChainSettings &settings) {
  std::vector<char> taken(pieces.size(), false);
  std::vector<uint32_t> path;
  ChainList chains;
  for (const uint32_t end : decreasingOrder(ends.best)) takeChain(pieces, ends, settings, end, taken, path, chains);
  return chains;
}

}  // namespace alisyn
