// A segment tree over a fixed number of slots, each empty or holding a
// value with the index of its owner, answering "the best owner in a range
// of slots": the highest value, and of equal values the lowest index.
#ifndef ALISYN_MAX_TREE_H
#define ALISYN_MAX_TREE_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace alisyn {

struct Entry {
  double value;
  uint32_t index;    // NONE: the slot is empty
  uint32_t tag = 0;  // the caller's own number for the entry, never compared
  static constexpr uint32_t NONE = UINT32_MAX;
};

// Whether a ranks before b: higher value, then lower index; empty last.
inline bool better(const Entry &a, const Entry &b) {
  if (a.index == Entry::NONE) return false;
  if (b.index == Entry::NONE) return true;
  return a.value > b.value || (a.value == b.value && a.index < b.index);
}

class MaxTree {
 public:
  // A tree of `slots` empty slots (reusing the storage).
  void reset(size_t slots);
  void set(size_t slot, Entry entry);
  void clear(size_t slot) { set(slot, EMPTY); }
  // The best entry of slots [first, last); empty when there is none.
  Entry best(size_t first, size_t last) const;

  static constexpr Entry EMPTY{0, Entry::NONE};

 private:
  size_t size_ = 0;
  std::vector<Entry> nodes_;  // leaves at [size_, 2 size_), node k over 2k and 2k+1
};

}  // namespace alisyn

#endif
