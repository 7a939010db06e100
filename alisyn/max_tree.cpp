#include "max_tree.h"

namespace alisyn {

void MaxTree::reset(size_t slots) {
  size_ = slots;
  nodes_.assign(2 * slots, EMPTY);
}

void MaxTree::set(size_t slot, Entry entry) {
  size_t k = slot + size_;
  nodes_[k] = entry;
  for (k /= 2; k >= 1; k /= 2) {
    const Entry &winner = better(nodes_[2 * k + 1], nodes_[2 * k]) ? nodes_[2 * k + 1] : nodes_[2 * k];
    // A node that keeps its entry leaves every node above it as it was.
    if (winner.index == nodes_[k].index && winner.value == nodes_[k].value) return;
    nodes_[k] = winner;
  }
}

Entry MaxTree::best(size_t first, size_t last) const {
  Entry result = EMPTY;
  for (size_t l = first + size_, r = last + size_; l < r; l /= 2, r /= 2) {
    if (l & 1) {
      if (better(nodes_[l], result)) result = nodes_[l];
      ++l;
    }
    if (r & 1) {
      --r;
      if (better(nodes_[r], result)) result = nodes_[r];
    }
  }
  return result;
}

}  // namespace alisyn
