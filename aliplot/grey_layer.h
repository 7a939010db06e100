// The alignments outside every chain, drawn in grey: each as a line of its
// own up to a budget that keeps pages of a million alignments small; beyond
// it the longest are lines and the rest are rasterised into pixel cells
// that count the segments crossing them.
#ifndef ALIPLOT_GREY_LAYER_H
#define ALIPLOT_GREY_LAYER_H

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

struct GreyLayer {
  std::vector<uint64_t> lines;  // alignment indices drawn as lines, ascending
  uint64_t binned = 0;          // alignments drawn into cells
  std::vector<CellRun> runs[DENSITY_LEVELS];  // row by row, left to right
};

// isMember[i]: alignment i belongs to a chain and is drawn in colour instead.
GreyLayer greyLayerFor(const PlotInput &plot, const Frame &frame, const std::vector<bool> &isMember,
                       size_t lineBudget);

}  // namespace aliplot

#endif
