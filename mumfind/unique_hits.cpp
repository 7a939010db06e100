#include "unique_hits.h"

#include <algorithm>

namespace mumfind {

void UniqueHits::add(int ref, int length) {
  uint32_t &slot = best_[static_cast<std::size_t>(ref)];
  uint32_t best = slot >> 1;
  uint32_t len = static_cast<uint32_t>(length);
  if (slot == 0 && !touchedAll_) {
    if (touched_.size() < best_.size() / 16) {
      touched_.push_back(ref);
    } else {
      touchedAll_ = true;
      touched_.clear();
    }
  }
  if (best < len) slot = code(length, false);
  else if (best == len) slot |= 1;
}

void UniqueHits::clear() {
  if (touchedAll_) {
    std::fill(best_.begin(), best_.end(), 0);
  } else {
    for (int ref : touched_) best_[static_cast<std::size_t>(ref)] = 0;
  }
  touched_.clear();
  touchedAll_ = false;
}

}  // namespace mumfind
