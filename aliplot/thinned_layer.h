// A set of alignments drawn in one colour (one strand outside the chains,
// one chain's members, or the blocks of one class): each as a line of its
// own up to a budget that keeps pages of a million alignments small; beyond
// it the longest are lines and the rest are rasterised into pixel cells
// that count the segments crossing them, so that every cell an alignment
// of the set passes through is marked.
#ifndef ALIPLOT_THINNED_LAYER_H
#define ALIPLOT_THINNED_LAYER_H

#include "axis.h"
#include "plot_input.h"

#include <cstdint>
#include <vector>

namespace aliplot {

constexpr size_t DEFAULT_LINE_BUDGET = 40000;

// Segments as many times darker as they share a cell: 1, 2-3, 4-15, 16 up.
constexpr int DENSITY_LEVELS = 4;
int densityLevel(uint32_t count);

// A run of cells of one row with the same density level.
struct CellRun {
  uint32_t x, y, length;
};

struct ThinnedLayer {
  std::vector<uint64_t> lines;  // alignment indices drawn as lines, ascending
  uint64_t binned = 0;          // alignments drawn into cells
  std::vector<CellRun> runs[DENSITY_LEVELS];  // row by row, left to right
};

// The layer of the pieces (alignments, or blocks' extents) with the given
// indices (ascending).
ThinnedLayer thinnedLayer(const std::vector<Alignment> &pieces, const Frame &frame,
                          const std::vector<uint64_t> &indices, size_t lineBudget);

// Line budgets for sets of the given sizes that share `total`: every set
// whole while all fit, else shares in proportion to the sizes.
std::vector<size_t> lineBudgets(const std::vector<size_t> &sizes, size_t total);

}  // namespace aliplot

#endif
