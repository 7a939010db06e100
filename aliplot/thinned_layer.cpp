#include "thinned_layer.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace aliplot {

int densityLevel(uint32_t count) {
  if (count >= 16) return 3;
  if (count >= 4) return 2;
  if (count >= 2) return 1;
  return 0;
}

namespace {

double pixelLength(const Segment &s) { return std::max(std::fabs(s.x2 - s.x1), std::fabs(s.y2 - s.y1)); }

// Counts of segments per cell of a square grid of pixels.
class CellGrid {
 public:
  explicit CellGrid(int side) : side_(side), counts_(static_cast<size_t>(side) * side) {}

  // Adds one to each cell the segment passes through, once per cell: the
  // segment is sampled at the middle of each pixel-long piece.
  void add(const Segment &s) {
    const int steps = std::max(1, static_cast<int>(std::ceil(pixelLength(s))));
    size_t previous = SIZE_MAX;
    for (int step = 0; step < steps; ++step) {
      const double t = (step + 0.5) / steps;
      const size_t cell = cellAt(s.x1 + t * (s.x2 - s.x1), s.y1 + t * (s.y2 - s.y1));
      if (cell != previous) ++counts_[cell];
      previous = cell;
    }
  }

  void collectRuns(std::vector<CellRun> (&runs)[DENSITY_LEVELS]) const {
    for (int y = 0; y < side_; ++y) {
      const uint32_t *row = &counts_[static_cast<size_t>(y) * side_];
      for (int x = 0; x < side_;) {
        if (row[x] == 0) {
          ++x;
          continue;
        }
        const int level = densityLevel(row[x]);
        int end = x + 1;
        while (end < side_ && row[end] != 0 && densityLevel(row[end]) == level) ++end;
        runs[level].push_back({static_cast<uint32_t>(x), static_cast<uint32_t>(y),
                               static_cast<uint32_t>(end - x)});
        x = end;
      }
    }
  }

 private:
  size_t cellAt(double x, double y) const {
    // Clamped before the conversion, which a value beyond int would make undefined.
    const auto clamp = [this](double v) {
      return static_cast<size_t>(std::clamp(std::floor(v), 0.0, side_ - 1.0));
    };
    return clamp(y) * side_ + clamp(x);
  }

  int side_;
  std::vector<uint32_t> counts_;
};

}  // namespace

ThinnedLayer thinnedLayer(const std::vector<Alignment> &pieces, const Frame &frame,
                          const std::vector<uint64_t> &indices, size_t lineBudget) {
  ThinnedLayer layer;
  std::vector<std::pair<double, uint64_t>> drawn;  // (pixel length, index)
  drawn.reserve(indices.size());
  for (const uint64_t i : indices) drawn.emplace_back(pixelLength(segmentOf(frame, pieces[i])), i);
  if (drawn.size() > lineBudget) {
    // The longest are lines; equal lengths go by input order.
    const auto longer = [](const auto &a, const auto &b) {
      return a.first > b.first || (a.first == b.first && a.second < b.second);
    };
    const auto firstCellBound = drawn.begin() + static_cast<std::ptrdiff_t>(lineBudget);
    std::nth_element(drawn.begin(), firstCellBound, drawn.end(), longer);
    CellGrid grid(static_cast<int>(std::ceil(frame.x.pixels)));
    for (auto it = firstCellBound; it != drawn.end(); ++it)
      grid.add(segmentOf(frame, pieces[it->second]));
    grid.collectRuns(layer.runs);
    layer.binned = drawn.size() - lineBudget;
    drawn.resize(lineBudget);
  }
  for (const auto &entry : drawn) layer.lines.push_back(entry.second);
  std::sort(layer.lines.begin(), layer.lines.end());
  return layer;
}

std::vector<size_t> lineBudgets(const std::vector<size_t> &sizes, size_t total) {
  size_t sum = 0;
  for (const size_t size : sizes) sum += size;
  if (sum <= total) return sizes;
  std::vector<size_t> budgets;
  for (const size_t size : sizes)
    budgets.push_back(static_cast<size_t>(static_cast<double>(total) * static_cast<double>(size) /
                                          static_cast<double>(sum)));
  return budgets;
}

}  // namespace aliplot
