#include "grey_layer.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using aliplot::Alignment;
using aliplot::PlotInput;

// n alignments of `bases` bases on the diagonal of a 1000-base pair.
PlotInput diagonal(int n, int bases) {
  PlotInput plot;
  plot.xLength = plot.yLength = 1000;
  for (int i = 0; i < n; ++i) {
    const int64_t begin = 1 + (i * 331) % (1000 - bases);
    plot.alignments.push_back({begin, begin, begin + bases - 1, begin + bases - 1, 1, '+'});
  }
  return plot;
}

uint64_t cellsCovered(const aliplot::GreyLayer &layer) {
  uint64_t cells = 0;
  for (const auto &runs : layer.runs)
    for (const auto &run : runs) cells += run.length;
  return cells;
}

TEST(GreyLayer, DrawsEveryAlignmentAsALineWithinTheBudget) {
  const PlotInput plot = diagonal(50, 2);  // all shorter than a pixel at 100 pixels
  const aliplot::Frame frame = aliplot::frameFor(plot, 100);
  const aliplot::GreyLayer layer = aliplot::greyLayerFor(plot, frame, std::vector<bool>(50), 50);
  EXPECT_EQ(layer.lines.size(), 50u);
  EXPECT_EQ(layer.binned, 0u);
  EXPECT_EQ(cellsCovered(layer), 0u);
}

TEST(GreyLayer, LeavesChainMembersOut) {
  const PlotInput plot = diagonal(10, 20);
  std::vector<bool> members(10);
  members[3] = members[7] = true;
  const aliplot::GreyLayer layer =
      aliplot::greyLayerFor(plot, aliplot::frameFor(plot, 100), members, 100);
  EXPECT_EQ(layer.lines, (std::vector<uint64_t>{0, 1, 2, 4, 5, 6, 8, 9}));
}

TEST(GreyLayer, BeyondTheBudgetKeepsTheLongestAsLinesAndRastersTheRest) {
  PlotInput plot = diagonal(30, 3);
  plot.alignments[5] = {1, 1, 400, 400, 1, '+'};
  plot.alignments[17] = {501, 300, 800, 1, 1, '-'};
  const aliplot::GreyLayer layer =
      aliplot::greyLayerFor(plot, aliplot::frameFor(plot, 100), std::vector<bool>(30), 2);
  EXPECT_EQ(layer.lines, (std::vector<uint64_t>{5, 17}));
  EXPECT_EQ(layer.binned, 28u);
  // 28 segments of 3 bases (0.3 pixels) on the diagonal: each in one or
  // two cells of the diagonal's band.
  const uint64_t cells = cellsCovered(layer);
  EXPECT_GE(cells, 10u);
  EXPECT_LE(cells, 56u);
  for (const auto &runs : layer.runs)
    for (const auto &run : runs) EXPECT_LE(std::abs(static_cast<int>(run.x) + static_cast<int>(run.y) - 99), 2);
}

TEST(GreyLayer, CountsEachSegmentOncePerCellItCrosses) {
  PlotInput plot;
  plot.xLength = plot.yLength = 100;
  // Ten copies of one segment across 20 cells, and one lone short one.
  for (int i = 0; i < 10; ++i) plot.alignments.push_back({1, 1, 20, 1, 1, '+'});
  plot.alignments.push_back({1, 1, 50, 50, 1, '+'});  // the one line
  plot.alignments.push_back({90, 50, 90, 50, 1, '+'});
  const aliplot::GreyLayer layer =
      aliplot::greyLayerFor(plot, aliplot::frameFor(plot, 100), std::vector<bool>(12), 1);
  EXPECT_EQ(layer.lines, (std::vector<uint64_t>{10}));
  ASSERT_EQ(layer.runs[2].size(), 1u);  // 10 per cell: level 4-15
  EXPECT_EQ(layer.runs[2][0].x, 0u);
  EXPECT_EQ(layer.runs[2][0].y, 99u);
  EXPECT_EQ(layer.runs[2][0].length, 20u);
  ASSERT_EQ(layer.runs[0].size(), 1u);
  EXPECT_EQ(layer.runs[0][0].x, 89u);
  EXPECT_EQ(layer.runs[0][0].length, 1u);
}

TEST(DensityLevels, GrowWithTheCount) {
  const std::map<uint32_t, int> expected = {{1, 0}, {2, 1}, {3, 1}, {4, 2}, {15, 2}, {16, 3}, {100000, 3}};
  for (const auto &[count, level] : expected) EXPECT_EQ(aliplot::densityLevel(count), level) << count;
}

}  // namespace
