#include "piece.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <tuple>

namespace alisyn {

namespace {

using Ranked = std::pair<uint64_t, uint32_t>;  // key, index

// A key that rises as the value falls: the bits of a double, turned so
// that they compare as unsigned numbers in the order of the values, then
// inverted. Both zeros get the key of +0, as they compare equal.
uint64_t fallingKey(double value) {
  if (value == 0) value = 0;
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  const uint64_t rising = (bits >> 63) ? ~bits : bits | (uint64_t{1} << 63);
  return ~rising;
}

// Sorts by key, keeping equal keys in their order: a radix sort, 16 bits a
// pass from the lowest, passing over digits that every key shares (such as
// the low bits of whole-number scores).
void radixSort(std::vector<Ranked> &items) {
  std::vector<Ranked> other(items.size());
  std::vector<size_t> start(size_t{1} << 16);
  for (int shift = 0; shift < 64 && !items.empty(); shift += 16) {
    const auto digit = [shift](const Ranked &item) { return (item.first >> shift) & 0xffff; };
    std::fill(start.begin(), start.end(), 0);
    for (const Ranked &item : items) ++start[digit(item)];
    if (start[digit(items.front())] == items.size()) continue;
    size_t sum = 0;
    for (size_t &s : start) sum += std::exchange(s, sum);
    for (const Ranked &item : items) other[start[digit(item)]++] = item;
    items.swap(other);
  }
}

}  // namespace

std::vector<uint32_t> decreasingOrder(const std::vector<double> &values) {
  std::vector<Ranked> ranked(values.size());
  for (size_t i = 0; i < values.size(); ++i) ranked[i] = {fallingKey(values[i]), static_cast<uint32_t>(i)};
  radixSort(ranked);
  std::vector<uint32_t> order(values.size());
  for (size_t i = 0; i < ranked.size(); ++i) order[i] = ranked[i].second;
  return order;
}

uint64_t unionLength(std::vector<std::pair<uint64_t, uint64_t>> intervals) {
  std::sort(intervals.begin(), intervals.end());
  uint64_t total = 0, reach = 0;  // reach: the last position counted, 0 before any
  for (const auto &[b, e] : intervals) {
    if (e <= reach) continue;
    total += e - std::max(b, reach + 1) + 1;
    reach = e;
  }
  return total;
}

uint64_t referenceBases(const Block &block, const std::vector<Piece> &pieces) {
  std::vector<std::pair<uint64_t, uint64_t>> intervals;
  for (const uint32_t m : block.members) intervals.emplace_back(pieces[m].xb, pieces[m].xe);
  return unionLength(std::move(intervals));
}

uint64_t queryBases(const Block &block, const std::vector<Piece> &pieces) {
  std::vector<std::pair<uint64_t, uint64_t>> intervals;
  for (const uint32_t m : block.members) intervals.emplace_back(pieces[m].yb, pieces[m].ye);
  return unionLength(std::move(intervals));
}

Span spanOf(const Block &block, const std::vector<Piece> &pieces) {
  Span s{UINT64_MAX, 0, UINT64_MAX, 0};
  for (const uint32_t m : block.members) {
    const Piece &p = pieces[m];
    s.xb = std::min(s.xb, p.xb);
    s.xe = std::max(s.xe, p.xe);
    s.yb = std::min(s.yb, p.yb);
    s.ye = std::max(s.ye, p.ye);
  }
  return s;
}

void sortBlocks(std::vector<Block> &blocks, const std::vector<Piece> &pieces) {
  struct Key {
    uint32_t reference;
    uint64_t xb;
    uint32_t query;
    uint64_t yb;
    char strand;
    uint32_t first;
    bool operator<(const Key &o) const {
      return std::tie(reference, xb, query, yb, strand, first) <
             std::tie(o.reference, o.xb, o.query, o.yb, o.strand, o.first);
    }
  };
  std::vector<std::pair<Key, size_t>> keys;
  for (size_t b = 0; b < blocks.size(); ++b) {
    const Piece &first = pieces[blocks[b].members.front()];
    const Span s = spanOf(blocks[b], pieces);
    const uint32_t lowest = *std::min_element(blocks[b].members.begin(), blocks[b].members.end());
    keys.push_back({Key{first.reference, s.xb, first.query, s.yb, first.strand, lowest}, b});
  }
  std::sort(keys.begin(), keys.end());
  std::vector<Block> sorted;
  sorted.reserve(blocks.size());
  for (const auto &key : keys) sorted.push_back(std::move(blocks[key.second]));
  blocks = std::move(sorted);
}

}  // namespace alisyn
