// The chaining sweep over the first sequence and the extraction of the best
// chain from the score tree.
#include "alichain.h"

#include <algorithm>

namespace {

// Order-preserving map of a signed key onto unsigned.
uint64_t unsignedKey(int64_t x) { return static_cast<uint64_t>(x) ^ 0x8000000000000000ULL; }

constexpr int RADIX_BITS = 11;
constexpr size_t RADIX_SIZE = size_t{1} << RADIX_BITS;
constexpr int MAX_RADIX_PASSES = 3;

// Stable LSD radix sort by xval relative to `lowest`, in `passes` digits.
void radixSort(std::vector<ANCHOR> &list, uint64_t lowest, int passes) {
  std::vector<ANCHOR> other(list.size());
  for (int pass = 0; pass < passes; ++pass) {
    const int shift = pass * RADIX_BITS;
    auto digit = [&](const ANCHOR &a) {
      return static_cast<size_t>(((unsignedKey(a.xval) - lowest) >> shift) & (RADIX_SIZE - 1));
    };
    std::vector<size_t> start(RADIX_SIZE + 1, 0);
    for (const ANCHOR &a : list) ++start[digit(a) + 1];
    for (size_t d = 1; d <= RADIX_SIZE; ++d) start[d] += start[d - 1];
    for (const ANCHOR &a : list) other[start[digit(a)]++] = a;
    list.swap(other);
  }
}

// Sorts by xval and keeps creation order among equal xval (lower alignment
// number first, an alignment's LEFT before its RIGHT), so that an alignment
// ending where a later one begins can precede it in a chain. Coordinates
// spanning under 2^33 take a few radix passes; wider spans take the
// comparison sort.
void sortAnchors(std::vector<ANCHOR> &list) {
  if (list.empty()) return;
  uint64_t lowest = UINT64_MAX;
  uint64_t highest = 0;
  for (const ANCHOR &a : list) {
    lowest = std::min(lowest, unsignedKey(a.xval));
    highest = std::max(highest, unsignedKey(a.xval));
  }
  int passes = 0;
  for (uint64_t span = highest - lowest; span != 0; span >>= RADIX_BITS) ++passes;
  if (passes <= MAX_RADIX_PASSES)
    radixSort(list, lowest, passes);
  else
    std::stable_sort(list.begin(), list.end(),
                     [](const ANCHOR &p, const ANCHOR &q) { return compareAnchors(p, q) < 0; });
}

[[noreturn]] void chainOverflow() {
  throw AlichainError("Error: Alignment file " + infile_name +
                      ": chain score sum exceeds the 64-bit range\n");
}

}  // namespace

int compareAnchors(const ANCHOR &pp, const ANCHOR &pq) {
  if (pp.xval < pq.xval) return -1;
  return pp.xval > pq.xval ? 1 : 0;
}

void prepareAnchorlist() {
  anchorlist.clear();
  anchorlist.reserve(2 * ali.size());
  for (uint64_t i = 0; i < ali.size(); ++i) {
    anchorlist.push_back(ANCHOR{ali[i].xb, LEFT, i});
    anchorlist.push_back(ANCHOR{ali[i].xe, RIGHT, i});
  }
  sortAnchors(anchorlist);
}

void processLeft(uint64_t alinr) {
  ALI &a = ali[alinr];
  const NODE *p = findLeaf(a.yb)->pl;
  if (__builtin_add_overflow(a.score, p->rMax, &a.score)) chainOverflow();
  a.pred = static_cast<uint64_t>(p->mMax);
}

void processRight(uint64_t alinr) {
  const ALI &a = ali[alinr];
  NODE *leaf = findLeaf(a.ye);
  NODE *ptr;
  if (leaf->lMax > a.ye) {
    if (leaf->pl->rMax < a.score) insert(alinr, leaf->pl);
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
  while (ptr->pr->rMax < ptr->rMax) deleteLeaf(ptr->pr);
}

void process() {
  constexpr size_t AHEAD = 16;
  const size_t n = anchorlist.size();
  for (size_t k = 0; k < n; ++k) {
    // The anchors visit the alignment table out of order; fetching ahead
    // hides the memory latency of those visits.
    if (k + AHEAD < n) __builtin_prefetch(&ali[anchorlist[k + AHEAD].alinr]);
    const ANCHOR &anchor = anchorlist[k];
    if (anchor.label == LEFT)
      processLeft(anchor.alinr);
    else
      processRight(anchor.alinr);
  }
}

void getResult() {
  const NODE *best = findRightSentinel()->pl;
  resultcount = 0;
  resultscore = 0.0f;
  // The left sentinel (no predecessor leaf) means nothing was stored.
  if (!best->pl) return;
  resultscore = static_cast<float>(best->rMax) / 10.0f;
  for (auto j = static_cast<uint64_t>(best->mMax); j != NO_ALIGNMENT; j = ali[j].pred) {
    ali[j].member = true;
    ++resultcount;
  }
}
