// From sequence coordinates to the plot: each axis maps positions to
// pixels, and an alignment becomes a segment whose direction shows its
// strand.
#ifndef ALIPLOT_AXIS_H
#define ALIPLOT_AXIS_H

#include "plot_input.h"

#include <cstdint>
#include <string>
#include <vector>

namespace aliplot {

// One axis: the sequence from just before position origin + 1 to just after
// position end, drawn over `pixels`. Base p (1-based) covers the interval
// [p - 1, p] in axis units, so a run of n bases is n units long.
struct Axis {
  double origin = 0;
  double end = 1;
  double pixels = 1;

  double span() const { return end - origin; }
  // Pixels from the axis start to the axis unit `value`.
  double toPixel(double value) const { return (value - origin) * pixels / span(); }
};

// The axis of a sequence of the given length (0: unknown) holding the
// positions [low, high] of its alignments: from 0 (or below the lowest
// position) to the length (or beyond the highest).
Axis axisFor(int64_t length, int64_t low, int64_t high, double pixels);

struct Tick {
  double value;       // axis units (bases)
  double pixel;       // from the axis start
  std::string label;  // "0", "500 bp", "2 kb", "1.5 Mb"
};

// Ticks at round steps (1, 2 or 5 times a power of ten) with at most
// maxTicks steps over the axis, labelled in the unit that suits the axis's
// span.
std::vector<Tick> ticksFor(const Axis &axis, int maxTicks);

// The frame of a dot plot: the first sequence on x (left to right) and the
// second on y (bottom to top), in pixels of a plot area whose top left
// corner is (0, 0).
struct Frame {
  Axis x, y;
};

struct Segment {
  double x1, y1, x2, y2;  // pixels
};

// The frame that holds every alignment of the plot and both sequences.
Frame frameFor(const PlotInput &plot, double pixels);

// An alignment's segment: from (xb, yb) to (xe, ye) on the '+' strand, from
// (xb, ye) to (xe, yb) on the '-' strand, each begin at the start of its
// base and each end at the end of its base.
Segment segmentOf(const Frame &frame, const Alignment &alignment);

}  // namespace aliplot

#endif
