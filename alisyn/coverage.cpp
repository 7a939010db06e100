#include "coverage.h"

#include <algorithm>

namespace alisyn {

namespace {

// A chunk grows to this many runs before it splits in two.
constexpr size_t CHUNK = 256;

}  // namespace

std::pair<size_t, size_t> Coverage::locate(const Runs &runs, uint64_t b) {
  const auto later = std::upper_bound(runs.firsts.begin(), runs.firsts.end(), b);
  const size_t chunk = later == runs.firsts.begin() ? 0 : static_cast<size_t>(later - runs.firsts.begin()) - 1;
  const std::vector<Run> &in = runs.chunks[chunk];
  const auto after = std::upper_bound(in.begin(), in.end(), b, [](uint64_t x, const Run &r) { return x < r.b; });
  return {chunk, static_cast<size_t>(after - in.begin())};
}

uint64_t Coverage::covered(uint32_t sequence, uint64_t b, uint64_t e) const {
  const Runs &runs = runs_[sequence];
  if (runs.chunks.empty()) return 0;
  auto [chunk, at] = locate(runs, b);
  if (at > 0) --at;
  uint64_t total = 0;
  for (; chunk < runs.chunks.size(); ++chunk, at = 0)
    for (const std::vector<Run> &in = runs.chunks[chunk]; at < in.size(); ++at) {
      if (in[at].b > e) return total;
      if (in[at].e >= b) total += std::min(e, in[at].e) - std::max(b, in[at].b) + 1;
    }
  return total;
}

void Coverage::add(uint32_t sequence, uint64_t b, uint64_t e) {
  Runs &runs = runs_[sequence];
  if (runs.chunks.empty()) {
    runs.chunks.push_back({Run{b, e}});
    runs.firsts.push_back(b);
    return;
  }
  auto [chunk, at] = locate(runs, b);
  std::vector<Run> &first = runs.chunks[chunk];
  if (at > 0 && first[at - 1].e + 1 >= b) --at;
  // Runs that touch [b, e] merge into it; they may reach into later chunks.
  size_t next = chunk;
  for (size_t from = at; next < runs.chunks.size(); ++next, from = 0) {
    std::vector<Run> &in = runs.chunks[next];
    size_t stop = from;
    for (; stop < in.size() && in[stop].b <= e + 1; ++stop) {
      b = std::min(b, in[stop].b);
      e = std::max(e, in[stop].e);
    }
    const bool beyond = stop < in.size();  // a run after the merged ones stays in this chunk
    in.erase(in.begin() + static_cast<std::ptrdiff_t>(from), in.begin() + static_cast<std::ptrdiff_t>(stop));
    if (beyond) break;
  }
  first.insert(first.begin() + static_cast<std::ptrdiff_t>(at), Run{b, e});
  runs.firsts[chunk] = first.front().b;
  // Chunks emptied by the merge go; the one after them lost its front.
  const size_t last = std::min(next, runs.chunks.size() - 1);
  size_t keep = chunk + 1;
  for (size_t k = chunk + 1; k <= last; ++k)
    if (!runs.chunks[k].empty()) {
      runs.firsts[keep] = runs.chunks[k].front().b;
      if (keep != k) runs.chunks[keep] = std::move(runs.chunks[k]);
      ++keep;
    }
  runs.chunks.erase(runs.chunks.begin() + static_cast<std::ptrdiff_t>(keep),
                    runs.chunks.begin() + static_cast<std::ptrdiff_t>(last + 1));
  runs.firsts.erase(runs.firsts.begin() + static_cast<std::ptrdiff_t>(keep),
                    runs.firsts.begin() + static_cast<std::ptrdiff_t>(last + 1));
  if (runs.chunks[chunk].size() > CHUNK) split(runs, chunk);
}

void Coverage::split(Runs &runs, size_t chunk) {
  std::vector<Run> &full = runs.chunks[chunk];
  std::vector<Run> back(full.begin() + static_cast<std::ptrdiff_t>(full.size() / 2), full.end());
  full.resize(full.size() / 2);
  runs.firsts.insert(runs.firsts.begin() + static_cast<std::ptrdiff_t>(chunk + 1), back.front().b);
  runs.chunks.insert(runs.chunks.begin() + static_cast<std::ptrdiff_t>(chunk + 1), std::move(back));
}

}  // namespace alisyn
