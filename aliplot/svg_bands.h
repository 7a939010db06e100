// The bands of a canvas of several sequences: separators between them in
// the plot, and the names of those wide enough to name beside the axes
// (in place of the ticks, which positions on a canvas would not explain).
#ifndef ALIPLOT_SVG_BANDS_H
#define ALIPLOT_SVG_BANDS_H

#include "picture.h"
#include "plot_input.h"

#include <string>

namespace aliplot {

// Characters of a sequence name shown beside an axis at most.
constexpr size_t BAND_NAME_CHARS = 9;

// How much further down the slanted names of references push the x axis's name.
constexpr int BAND_NAMES_DEPTH = 30;

// The names, in the groups the page hides while zoomed ("x-ticks", "y-ticks").
void writeBandNames(std::string &out, const PlotInput &plot, const Picture &picture);

// The separators, in plot pixels: one path for both axes, a line where a
// band begins when it or the band before is a few pixels wide and the
// last line lies at least two pixels before, so that 10^4 bands make no
// hatching.
void writeSeparators(std::string &out, const PlotInput &plot, const Picture &picture);

// How many sequences of each side are too narrow to be named.
size_t unnamedBands(const std::vector<Sequence> &sequences, const Axis &axis);

}  // namespace aliplot

#endif
