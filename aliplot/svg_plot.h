// The dot plot as one SVG document: title, axes with ticks, the grey layer,
// the chains and the legend. The HTML page embeds the same document.
#ifndef ALIPLOT_SVG_PLOT_H
#define ALIPLOT_SVG_PLOT_H

#include "picture.h"
#include "plot_input.h"

#include <string>

namespace aliplot {

// The <svg> element and its content (no XML declaration).
std::string svgElement(const PlotInput &plot, const Picture &picture);

// A standalone SVG file: the XML declaration and svgElement().
std::string svgDocument(const PlotInput &plot, const Picture &picture);

}  // namespace aliplot

#endif
