// The chaining sweep over the first sequence and the extraction of the best
// chain from the score tree.
#include "alichain.h"

#include <algorithm>
#include <memory>

namespace {

// Order-preserving map of a signed key onto unsigned.
uint64_t unsignedKey(int64_t x) { return static_cast<uint64_t>(x) ^ 0x8000000000000000ULL; }

int bitsFor(uint64_t v) {
  int bits = 0;
  for (; v != 0; v >>= 1) ++bits;
  return bits;
}

constexpr int RADIX_BITS = 11;
constexpr size_t RADIX_SIZE = size_t{1} << RADIX_BITS;
constexpr int MAX_RADIX_PASSES = 3;

// Stable LSD radix sort of `items` by their bits [low, low + bits).
void radixSort(std::vector<uint64_t> &items, int low, int bits) {
  const size_t n = items.size();
  std::unique_ptr<uint64_t[]> scratch(new uint64_t[n]);
  adviseHugePages(scratch.get(), n * sizeof(uint64_t));
  uint64_t *from = items.data();
  uint64_t *to = scratch.get();
  for (int shift = low; shift < low + bits; shift += RADIX_BITS) {
    std::vector<size_t> start(RADIX_SIZE + 1, 0);
    for (size_t i = 0; i < n; ++i) ++start[((from[i] >> shift) & (RADIX_SIZE - 1)) + 1];
    for (size_t d = 1; d <= RADIX_SIZE; ++d) start[d] += start[d - 1];
    for (size_t i = 0; i < n; ++i) to[start[(from[i] >> shift) & (RADIX_SIZE - 1)]++] = from[i];
    std::swap(from, to);
  }
  if (from != items.data()) std::copy(from, from + n, items.data());
}

// Fills `anchorlist` with the creation numbers sorted by xval. Sorting is
// stable on creation order, so anchors with equal xval keep it: lower
// alignment number first, an alignment's LEFT before its RIGHT. Then an
// alignment ending where a later one begins can precede it in a chain.
// When the xval span and the creation number fit one 64-bit word together,
// a few radix passes over the packed words do the work; otherwise the
// comparison sort does.
void sortAnchors(const std::vector<ALI> &ali, uint64_t lowest, uint64_t highest,
                 std::vector<uint64_t> &anchorlist) {
  const uint64_t count = 2 * ali.size();
  const int creationBits = bitsFor(count);
  const int spanBits = bitsFor(highest - lowest);
  if (spanBits + creationBits <= 64 && spanBits <= MAX_RADIX_PASSES * RADIX_BITS) {
    for (uint64_t c = 0; c < count; ++c)
      anchorlist.push_back(((unsignedKey(makeAnchor(ali, c).xval) - lowest) << creationBits) | c);
    radixSort(anchorlist, creationBits, spanBits);
    const uint64_t mask = (uint64_t{1} << creationBits) - 1;
    for (uint64_t &item : anchorlist) item &= mask;
    return;
  }
  for (uint64_t c = 0; c < count; ++c) anchorlist.push_back(c);
  std::stable_sort(anchorlist.begin(), anchorlist.end(), [&ali](uint64_t p, uint64_t q) {
    return compareAnchors(makeAnchor(ali, p), makeAnchor(ali, q)) < 0;
  });
}

}  // namespace

int compareAnchors(const ANCHOR &pp, const ANCHOR &pq) {
  if (pp.xval < pq.xval) return -1;
  return pp.xval > pq.xval ? 1 : 0;
}

ANCHOR makeAnchor(const std::vector<ALI> &ali, uint64_t creation) {
  const uint64_t alinr = creation >> 1;
  if (creation & 1) return ANCHOR{ali[alinr].xe, RIGHT, alinr};
  return ANCHOR{ali[alinr].xb, LEFT, alinr};
}

std::vector<uint64_t> prepareAnchorlist(const std::vector<ALI> &ali) {
  std::vector<uint64_t> anchorlist;
  anchorlist.reserve(2 * ali.size());
  adviseHugePages(anchorlist.data(), anchorlist.capacity() * sizeof(uint64_t));
  uint64_t lowest = UINT64_MAX;
  uint64_t highest = 0;
  for (const ALI &a : ali) {
    lowest = std::min({lowest, unsignedKey(a.xb), unsignedKey(a.xe)});
    highest = std::max({highest, unsignedKey(a.xb), unsignedKey(a.xe)});
  }
  if (!ali.empty()) sortAnchors(ali, lowest, highest, anchorlist);
  return anchorlist;
}

void processLeft(PASS &pass, uint64_t alinr, const NODE *leaf) {
  ALI &a = pass.ali[alinr];
  const NODE *p = leaf->pl;
  if (__builtin_add_overflow(a.score, p->rMax, &a.score)) throw ChainSumOverflow();
  a.pred = static_cast<uint64_t>(p->mMax);
}

void processRight(PASS &pass, uint64_t alinr, NODE *leaf) {
  const ALI &a = pass.ali[alinr];
  NODE *ptr;
  if (leaf->lMax > a.ye) {
    if (leaf->pl->rMax < a.score) insert(pass, alinr, leaf->pl);
    ptr = leaf->pl;
  } else {
    if (leaf->rMax < a.score) {
      leaf->mMax = static_cast<int64_t>(alinr);
      leaf->rMax = a.score;
    }
    ptr = leaf;
  }
  // Keep scores non-decreasing along the keys: a chain ending higher but
  // scoring lower can never be the better predecessor.
  while (ptr->pr->rMax < ptr->rMax) deleteLeaf(pass, ptr->pr);
}

void process(PASS &pass, const std::vector<uint64_t> &anchorlist) {
  const std::vector<ALI> &ali = pass.ali;
  constexpr size_t AHEAD = 16;
  constexpr size_t BATCH = 16;
  const size_t n = anchorlist.size();
  uint64_t events[BATCH];
  int64_t keys[BATCH];
  NODE *leaves[BATCH];
  for (size_t k = 0; k < n;) {
    // A run of begins and the end that closes it all search the same tree,
    // since begins do not change it: their descents are taken together.
    size_t m = 0;
    while (k < n && m < BATCH) {
      // The anchors visit the alignment table out of order; fetching ahead
      // hides the memory latency of those visits.
      if (k + AHEAD < n) __builtin_prefetch(&ali[anchorlist[k + AHEAD] >> 1]);
      const uint64_t creation = anchorlist[k++];
      const ALI &a = ali[creation >> 1];
      events[m] = creation;
      keys[m++] = creation & 1 ? a.ye : a.yb;
      if (creation & 1) break;
    }
    findLeaves(pass, keys, leaves, m);
    for (size_t i = 0; i < m; ++i) {
      if (events[i] & 1)
        processRight(pass, events[i] >> 1, leaves[i]);
      else
        processLeft(pass, events[i] >> 1, leaves[i]);
    }
  }
}

void getResult(PASS &pass) {
  const NODE *best = findRightSentinel(pass)->pl;
  pass.resultcount = 0;
  pass.resultsum = 0;
  pass.resultscore = 0.0f;
  pass.member.assign(pass.ali.size(), false);
  // The left sentinel (no predecessor leaf) means nothing was stored.
  if (!best->pl) return;
  pass.resultsum = best->rMax;
  pass.resultscore = static_cast<float>(best->rMax) / 10.0f;
  for (auto j = static_cast<uint64_t>(best->mMax); j != NO_ALIGNMENT; j = pass.ali[j].pred) {
    pass.member[j] = true;
    ++pass.resultcount;
  }
}
