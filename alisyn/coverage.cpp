#include "coverage.h"

#include <algorithm>

namespace alisyn {

uint64_t Coverage::covered(uint32_t sequence, uint64_t b, uint64_t e) const {
  const auto &runs = runs_[sequence];
  auto at = runs.upper_bound(b);
  if (at != runs.begin()) --at;
  uint64_t total = 0;
  for (; at != runs.end() && at->first <= e; ++at)
    if (at->second >= b) total += std::min(e, at->second) - std::max(b, at->first) + 1;
  return total;
}

void Coverage::add(uint32_t sequence, uint64_t b, uint64_t e) {
  auto &runs = runs_[sequence];
  auto at = runs.upper_bound(b);
  if (at != runs.begin() && std::prev(at)->second + 1 >= b) --at;
  while (at != runs.end() && at->first <= e + 1) {
    b = std::min(b, at->first);
    e = std::max(e, at->second);
    at = runs.erase(at);
  }
  runs.emplace(b, e);
}

}  // namespace alisyn
