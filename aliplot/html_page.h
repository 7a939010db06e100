// The dot plot as one self-contained HTML page: the SVG picture, the data of
// every segment drawn as a line, and a script that shows a segment's details
// on hover, zooms into a dragged rectangle and switches layers on and off.
#ifndef ALIPLOT_HTML_PAGE_H
#define ALIPLOT_HTML_PAGE_H

#include "picture.h"
#include "plot_input.h"

#include <string>

namespace aliplot {

std::string htmlPage(const PlotInput &plot, const Picture &picture);

}  // namespace aliplot

#endif
