#include "neighbours.h"

#include <algorithm>
#include <new>

namespace {

// Sort key of a candidate: its position, shifted to unsigned so that the
// order of keys is the order of positions, above its place in the list.
uint64_t sort_key(int32_t pos, size_t index) {
  const uint64_t biased = static_cast<uint32_t>(pos) ^ 0x80000000u;
  return biased << 32 | index;
}

int64_t key_pos(uint64_t key) {
  return static_cast<int64_t>(key >> 32) - (int64_t(1) << 31);
}

} // namespace

std::vector<uint32_t> count_neighbours(const LINE *input, size_t num1, int winsize) {
  std::vector<uint32_t> counts(num1, 0);
  if (winsize < 0 || num1 == 0)
    return counts;
  // A place in the list must fit in the low half of a sort key.
  if (num1 > UINT32_MAX)
    throw std::bad_alloc();
  std::vector<uint64_t> keys(num1);
  for (size_t i = 0; i < num1; ++i)
    keys[i] = sort_key(input[i].pos, i);
  std::sort(keys.begin(), keys.end());
  // Sweep in position order: [lo, hi) is every candidate within the window
  // of the current one, itself included. Bounds are computed in 64 bits so
  // that positions near the ends of the int range cannot overflow.
  size_t lo = 0, hi = 0;
  for (size_t k = 0; k < num1; ++k) {
    const int64_t pos = key_pos(keys[k]);
    while (key_pos(keys[lo]) < pos - winsize)
      ++lo;
    while (hi < num1 && key_pos(keys[hi]) <= pos + winsize)
      ++hi;
    counts[static_cast<uint32_t>(keys[k])] = static_cast<uint32_t>(hi - lo - 1);
  }
  return counts;
}
