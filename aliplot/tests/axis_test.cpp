#include "axis.h"

#include <gtest/gtest.h>

namespace {

using aliplot::Alignment;
using aliplot::Axis;

TEST(AxisRange, RunsFromZeroToTheLengthOrBeyondTheAlignments) {
  Axis a = aliplot::axisFor(16569, 1, 16569, 720);
  EXPECT_EQ(a.origin, 0);
  EXPECT_EQ(a.end, 16569);
  a = aliplot::axisFor(1000, 5, 1200, 720);  // an alignment beyond the given length
  EXPECT_EQ(a.end, 1200);
  a = aliplot::axisFor(0, 10, 50, 720);  // no length: up to the last end
  EXPECT_EQ(a.origin, 0);
  EXPECT_EQ(a.end, 50);
  a = aliplot::axisFor(100, -20, 50, 720);  // begins before 1 widen it downwards
  EXPECT_EQ(a.origin, -21);
  a = aliplot::axisFor(0, 1, 0, 720);  // nothing at all still spans a base
  EXPECT_GT(a.span(), 0);
}

TEST(AxisRange, MapsBasesToPixelsLinearly) {
  const Axis a = aliplot::axisFor(1000, 1, 1000, 500);
  EXPECT_DOUBLE_EQ(a.toPixel(0), 0);
  EXPECT_DOUBLE_EQ(a.toPixel(500), 250);
  EXPECT_DOUBLE_EQ(a.toPixel(1000), 500);
}

struct TickCase {
  double length;
  std::vector<std::string> labels;
};

class Ticks : public testing::TestWithParam<TickCase> {};

TEST_P(Ticks, AreRoundStepsInTheUnitOfTheSpan) {
  const Axis a = aliplot::axisFor(static_cast<int64_t>(GetParam().length), 1, 1, 720);
  std::vector<std::string> labels;
  double previous = -1;
  for (const aliplot::Tick &tick : aliplot::ticksFor(a, 10)) {
    labels.push_back(tick.label);
    EXPECT_DOUBLE_EQ(tick.pixel, a.toPixel(tick.value));
    EXPECT_GT(tick.pixel, previous);
    EXPECT_LE(tick.pixel, 720);
    previous = tick.pixel;
  }
  EXPECT_EQ(labels, GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, Ticks,
    testing::Values(
        TickCase{16569, {"0", "2 kb", "4 kb", "6 kb", "8 kb", "10 kb", "12 kb", "14 kb", "16 kb"}},
        TickCase{950, {"0", "100 bp", "200 bp", "300 bp", "400 bp", "500 bp", "600 bp", "700 bp",
                       "800 bp", "900 bp"}},
        TickCase{4938920, {"0", "0.5 Mb", "1 Mb", "1.5 Mb", "2 Mb", "2.5 Mb", "3 Mb", "3.5 Mb",
                           "4 Mb", "4.5 Mb"}},
        TickCase{3000, {"0", "0.5 kb", "1 kb", "1.5 kb", "2 kb", "2.5 kb", "3 kb"}},
        TickCase{7, {"0", "1 bp", "2 bp", "3 bp", "4 bp", "5 bp", "6 bp", "7 bp"}}));

TEST(TicksOfNegativePositions, KeepTheirSign) {
  const Axis a = aliplot::axisFor(2000, -1999, 2000, 720);
  const auto ticks = aliplot::ticksFor(a, 4);
  EXPECT_EQ(ticks.front().label, "-2 kb");
  EXPECT_EQ(ticks[1].label, "-1 kb");
  EXPECT_EQ(ticks[2].label, "0");
}

TEST(Segments, RiseForPlusAndFallForMinusWithYUpwards) {
  aliplot::PlotInput plot;
  plot.xLength = plot.yLength = 100;
  plot.alignments.push_back({11, 21, 30, 60, 5, '+'});
  plot.alignments.push_back({11, 21, 30, 60, 5, '-'});
  const aliplot::Frame frame = aliplot::frameFor(plot, 200);
  const aliplot::Segment plus = aliplot::segmentOf(frame, plot.alignments[0]);
  // x: bases 11..30 cover [10, 30]; y: bases 21..60 cover [20, 60], drawn from the bottom.
  EXPECT_DOUBLE_EQ(plus.x1, 20);
  EXPECT_DOUBLE_EQ(plus.x2, 60);
  EXPECT_DOUBLE_EQ(plus.y1, 200 - 40);
  EXPECT_DOUBLE_EQ(plus.y2, 200 - 120);
  const aliplot::Segment minus = aliplot::segmentOf(frame, plot.alignments[1]);
  EXPECT_DOUBLE_EQ(minus.x1, 20);
  EXPECT_DOUBLE_EQ(minus.x2, 60);
  EXPECT_DOUBLE_EQ(minus.y1, 200 - 120);
  EXPECT_DOUBLE_EQ(minus.y2, 200 - 40);
}

TEST(Frames, HoldEveryAlignmentAndTheLengths) {
  aliplot::PlotInput plot;
  plot.xLength = 500;
  plot.alignments.push_back({1, 1, 600, 90, 1, '+'});
  const aliplot::Frame frame = aliplot::frameFor(plot, 100);
  EXPECT_EQ(frame.x.end, 600);
  EXPECT_EQ(frame.y.end, 90);
  const aliplot::Segment s = aliplot::segmentOf(frame, plot.alignments[0]);
  EXPECT_DOUBLE_EQ(s.x1, 0);
  EXPECT_DOUBLE_EQ(s.x2, 100);
  EXPECT_DOUBLE_EQ(s.y1, 100);
  EXPECT_DOUBLE_EQ(s.y2, 0);
}

}  // namespace
