// The legend beside the plot: what each colour and mark stands for, with
// counts, every line kept within the legend's width.
#ifndef ALIPLOT_SVG_LEGEND_H
#define ALIPLOT_SVG_LEGEND_H

#include "picture.h"
#include "plot_input.h"

#include <string>
#include <vector>

namespace aliplot {

// Characters of legend text that fit in its width.
constexpr size_t LEGEND_LINE_CHARS = 34;

// The text broken into lines of at most `limit` bytes (or one character), after a '/' or a
// blank where one is near, never inside a UTF-8 character; beyond
// `maxLines` the front is dropped and the first line starts with an
// ellipsis.
std::vector<std::string> wrapped(const std::string &text, size_t limit, size_t maxLines);

// The legend's height in pixels.
double legendHeight(const PlotInput &plot, const Picture &picture);

// Appends the legend, at the picture's legend place.
void writeLegend(std::string &out, const PlotInput &plot, const Picture &picture);

}  // namespace aliplot

#endif
