#include "thinned_layer.h"

#include "picture.h"
#include "svg_plot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The indices 0 .. n-1 but those given.
std::vector<uint64_t> allBut(uint64_t n, std::vector<uint64_t> left = {}) {
  std::vector<uint64_t> indices;
  for (uint64_t i = 0; i < n; ++i)
    if (std::find(left.begin(), left.end(), i) == left.end()) indices.push_back(i);
  return indices;
}

uint64_t cellsCovered(const aliplot::ThinnedLayer &layer) {
  uint64_t cells = 0;
  for (const auto &runs : layer.runs)
    for (const auto &run : runs) cells += run.length;
  return cells;
}

TEST(ThinnedLayer, DrawsEveryAlignmentAsALineWithinTheBudget) {
  const PlotInput plot = diagonal(50, 2);  // all shorter than a pixel at 100 pixels
  const aliplot::Frame frame = aliplot::frameFor(plot, 100);
  const aliplot::ThinnedLayer layer = aliplot::thinnedLayer(plot.alignments, frame, allBut(50), 50);
  EXPECT_EQ(layer.lines.size(), 50u);
  EXPECT_EQ(layer.binned, 0u);
  EXPECT_EQ(cellsCovered(layer), 0u);
}

TEST(ThinnedLayer, DrawsOnlyTheAlignmentsOfItsSet) {
  const PlotInput plot = diagonal(10, 20);
  const aliplot::ThinnedLayer layer =
      aliplot::thinnedLayer(plot.alignments, aliplot::frameFor(plot, 100), allBut(10, {3, 7}), 100);
  EXPECT_EQ(layer.lines, (std::vector<uint64_t>{0, 1, 2, 4, 5, 6, 8, 9}));
}

TEST(ThinnedLayer, BeyondTheBudgetKeepsTheLongestAsLinesAndRastersTheRest) {
  PlotInput plot = diagonal(30, 3);
  plot.alignments[5] = {1, 1, 400, 400, 1, '+'};
  plot.alignments[17] = {501, 300, 800, 1, 1, '-'};
  const aliplot::ThinnedLayer layer =
      aliplot::thinnedLayer(plot.alignments, aliplot::frameFor(plot, 100), allBut(30), 2);
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

TEST(ThinnedLayer, CountsEachSegmentOncePerCellItCrosses) {
  PlotInput plot;
  plot.xLength = plot.yLength = 100;
  // Ten copies of one segment across 20 cells, and one lone short one.
  for (int i = 0; i < 10; ++i) plot.alignments.push_back({1, 1, 20, 1, 1, '+'});
  plot.alignments.push_back({1, 1, 50, 50, 1, '+'});  // the one line
  plot.alignments.push_back({90, 50, 90, 50, 1, '+'});
  const aliplot::ThinnedLayer layer =
      aliplot::thinnedLayer(plot.alignments, aliplot::frameFor(plot, 100), allBut(12), 1);
  EXPECT_EQ(layer.lines, (std::vector<uint64_t>{10}));
  ASSERT_EQ(layer.runs[2].size(), 1u);  // 10 per cell: level 4-15
  EXPECT_EQ(layer.runs[2][0].x, 0u);
  EXPECT_EQ(layer.runs[2][0].y, 99u);
  EXPECT_EQ(layer.runs[2][0].length, 20u);
  ASSERT_EQ(layer.runs[0].size(), 1u);
  EXPECT_EQ(layer.runs[0][0].x, 89u);
  EXPECT_EQ(layer.runs[0][0].length, 1u);
}

TEST(LineBudgets, SharesTheBudgetInProportionOnlyWhenAllDoNotFit) {
  EXPECT_EQ(aliplot::lineBudgets({10, 0, 20}, 30), (std::vector<size_t>{10, 0, 20}));
  EXPECT_EQ(aliplot::lineBudgets({300, 100, 600}, 100), (std::vector<size_t>{30, 10, 60}));
}

// Thinning never hides an alignment: every cell that one of a thinned
// set's alignments passes through holds a line or a marked cell.
TEST(ThinnedLayer, MarksEveryOccupiedCell) {
  PlotInput plot;
  plot.xLength = plot.yLength = 100000;
  uint64_t state = 12345;
  const auto next = [&state](int64_t range) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<int64_t>((state >> 33) % static_cast<uint64_t>(range));
  };
  for (int i = 0; i < 5000; ++i) {
    const int64_t x = 1 + next(99000), y = 1 + next(99000), length = 1 + next(900);
    plot.alignments.push_back({x, y, x + length, y + length, 1, next(2) ? '+' : '-'});
  }
  const aliplot::Frame frame = aliplot::frameFor(plot, 200);
  const aliplot::ThinnedLayer layer = aliplot::thinnedLayer(plot.alignments, frame, allBut(5000), 300);
  std::vector<bool> marked(200 * 200);
  for (const auto &runs : layer.runs)
    for (const auto &run : runs)
      for (uint32_t x = run.x; x < run.x + run.length; ++x) marked[run.y * 200 + x] = true;
  std::vector<bool> isLine(5000);
  for (const uint64_t line : layer.lines) isLine[line] = true;
  for (uint64_t i = 0; i < 5000; ++i) {
    if (isLine[i]) continue;
    const aliplot::Segment s = aliplot::segmentOf(frame, plot.alignments[i]);
    const auto cell = [](double v) { return std::clamp(static_cast<int>(std::floor(v)), 0, 199); };
    // A point of the segment within its first pixel.
    const double steps = std::max(1.0, std::ceil(std::max(std::fabs(s.x2 - s.x1), std::fabs(s.y2 - s.y1))));
    const double mx = s.x1 + (s.x2 - s.x1) * 0.5 / steps, my = s.y1 + (s.y2 - s.y1) * 0.5 / steps;
    EXPECT_TRUE(marked[cell(my) * 200 + cell(mx)]) << "alignment " << i;
  }
}

TEST(DensityLevels, GrowWithTheCount) {
  const std::map<uint32_t, int> expected = {{1, 0}, {2, 1}, {3, 1}, {4, 2}, {15, 2}, {16, 3}, {100000, 3}};
  for (const auto &[count, level] : expected) EXPECT_EQ(aliplot::densityLevel(count), level) << count;
}

}  // namespace

namespace {

// alisyn's blocks share the one budget with the alignments: beyond it the
// shortest blocks of each class become cells in the class's layer, and
// the legend says how many.
TEST(ThinnedLayer, BlocksShareTheBudget) {
  PlotInput plot = diagonal(100, 20);
  plot.blocksFile = "b.tsv";
  for (int b = 0; b < 300; ++b) {
    plot.blockExtents.push_back(plot.alignments[static_cast<size_t>(b % 100)]);
    plot.blockReferenceOf.push_back(0);
    plot.blockQueryOf.push_back(0);
    plot.blocks.push_back({static_cast<uint64_t>(b + 1),
                           b % 3 ? aliplot::BlockClass::SYNTENIC : aliplot::BlockClass::INVERTED, 1, "20"});
  }
  const aliplot::Picture picture = aliplot::pictureFor(plot, 200, 80);
  const aliplot::ThinnedLayer &syntenic = picture.blockLayers[0], &inverted = picture.blockLayers[1];
  EXPECT_EQ(picture.strands[0].lines.size() + syntenic.lines.size() + inverted.lines.size(), 80u);
  EXPECT_EQ(syntenic.lines.size() + syntenic.binned, 200u);
  EXPECT_EQ(inverted.lines.size() + inverted.binned, 100u);
  EXPECT_GT(cellsCovered(inverted), 0u);
  std::string svg = aliplot::svgElement(plot, picture);
  const uint64_t binned = syntenic.binned + inverted.binned;
  EXPECT_NE(svg.find(">" + std::to_string(binned) + " blocks drawn as pixels<"), std::string::npos);
  EXPECT_NE(svg.find(">inverted: 100 blocks<"), std::string::npos);
  EXPECT_NE(svg.find(">duplicated: 0 blocks<"), std::string::npos);
}

}  // namespace
