#include "unique_in_query.h"

#include <algorithm>
#include <functional>
#include <numeric>
#include <queue>
#include <set>
#include <utility>

namespace mumfind {

void UniqueInQuery::add(int64_t q, int64_t ref, int64_t length) {
  if (!runs_.empty() && q == lastQuery_ + 1) {
    Run &last = runs_.back();
    if (ref == last.ref + last.count && ref + length == last.end) {
      last.count++;
      lastQuery_ = q;
      return;
    }
  }
  runs_.push_back({ref, ref + length, 1});
  lastQuery_ = q;
}

void UniqueInQuery::append(const UniqueInQuery &later) {
  runs_.insert(runs_.end(), later.runs_.begin(), later.runs_.end());
  lastQuery_ = later.lastQuery_;
}

// A sweep over reference positions: the runs covering the position are
// active, kept by the reference end of their matches. A candidate at r of
// length l is alone when its own run is the only active one reaching r + l.
std::vector<bool> UniqueInQuery::alone(const std::vector<int64_t> &refs,
                                       const std::vector<int64_t> &lengths) const {
  std::vector<size_t> order(refs.size());
  std::iota(order.begin(), order.end(), size_t(0));
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return refs[a] < refs[b]; });
  std::vector<Run> runs = runs_;
  std::sort(runs.begin(), runs.end(), [](const Run &a, const Run &b) { return a.ref < b.ref; });

  std::multiset<int64_t> ends;
  using Expiry = std::pair<int64_t, int64_t>;  // first reference position past the run, its end
  std::priority_queue<Expiry, std::vector<Expiry>, std::greater<Expiry>> expiring;
  std::vector<bool> result(refs.size());
  size_t next = 0;
  for (size_t c : order) {
    int64_t r = refs[c], reach = r + lengths[c];
    for (; next < runs.size() && runs[next].ref <= r; next++) {
      ends.insert(runs[next].end);
      expiring.push({runs[next].ref + runs[next].count, runs[next].end});
    }
    while (!expiring.empty() && expiring.top().first <= r) {
      ends.erase(ends.find(expiring.top().second));
      expiring.pop();
    }
    auto longest = ends.rbegin();
    result[c] = longest != ends.rend() && *longest >= reach &&
                (std::next(longest) == ends.rend() || *std::next(longest) < reach);
  }
  return result;
}

}  // namespace mumfind
