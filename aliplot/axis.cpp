#include "axis.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace aliplot {

Axis axisFor(int64_t length, int64_t low, int64_t high, double pixels) {
  Axis axis;
  axis.origin = std::min(0.0, static_cast<double>(low) - 1);
  axis.end = std::max(static_cast<double>(length), static_cast<double>(high));
  if (axis.end <= axis.origin) axis.end = axis.origin + 1;
  axis.pixels = pixels;
  return axis;
}

namespace {

double niceStep(double span, int maxTicks) {
  const double raw = span / std::max(maxTicks, 1);
  const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
  // Never a step within a base.
  for (const double multiple : {1.0, 2.0, 5.0})
    if (multiple * magnitude >= raw) return std::max(multiple * magnitude, 1.0);
  return std::max(10 * magnitude, 1.0);
}

struct Unit {
  double size;
  const char *name;
};

Unit unitFor(double span) {
  if (span >= 2e6) return {1e6, "Mb"};
  if (span >= 2e3) return {1e3, "kb"};
  return {1, "bp"};
}

// value / unit with as many decimals as the step needs, without trailing zeros.
std::string tickLabel(double value, double step, Unit unit) {
  if (value == 0) return "0";
  const int decimals = std::max(0, static_cast<int>(std::ceil(-std::log10(step / unit.size) - 1e-9)));
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value / unit.size,
                                    std::chars_format::fixed, decimals);
  std::string label(text, result.ptr);
  if (label.find('.') != std::string::npos) {
    while (label.back() == '0') label.pop_back();
    if (label.back() == '.') label.pop_back();
  }
  return label + " " + unit.name;
}

}  // namespace

std::vector<Tick> ticksFor(const Axis &axis, int maxTicks) {
  const double step = niceStep(axis.span(), maxTicks);
  const Unit unit = unitFor(axis.span());
  std::vector<Tick> ticks;
  for (double index = std::ceil(axis.origin / step); index * step <= axis.end; ++index) {
    const double value = index * step;
    ticks.push_back({value, axis.toPixel(value), tickLabel(value, step, unit)});
  }
  return ticks;
}

Frame frameFor(const PlotInput &plot, double pixels) {
  int64_t xLow = std::numeric_limits<int64_t>::max(), xHigh = std::numeric_limits<int64_t>::min();
  int64_t yLow = xLow, yHigh = xHigh;
  for (const Alignment &a : plot.alignments) {
    xLow = std::min(xLow, a.xb);
    xHigh = std::max(xHigh, a.xe);
    yLow = std::min(yLow, a.yb);
    yHigh = std::max(yHigh, a.ye);
  }
  if (plot.alignments.empty()) xLow = yLow = 1, xHigh = yHigh = 0;
  return {axisFor(plot.xLength, xLow, xHigh, pixels), axisFor(plot.yLength, yLow, yHigh, pixels)};
}

Segment segmentOf(const Frame &frame, const Alignment &a) {
  const double x1 = frame.x.toPixel(static_cast<double>(a.xb) - 1);
  const double x2 = frame.x.toPixel(static_cast<double>(a.xe));
  // Pixels grow downwards, positions upwards.
  const double yBegin = frame.y.pixels - frame.y.toPixel(static_cast<double>(a.yb) - 1);
  const double yEnd = frame.y.pixels - frame.y.toPixel(static_cast<double>(a.ye));
  if (a.strand == '-') return {x1, yEnd, x2, yBegin};
  return {x1, yBegin, x2, yEnd};
}

}  // namespace aliplot
