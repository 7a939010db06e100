// Everything a plot document is drawn from, worked out once for the SVG
// picture and the HTML page: the frame, the grey layer, the chains' colours
// and the places of the plot area and the legend.
#ifndef ALIPLOT_PICTURE_H
#define ALIPLOT_PICTURE_H

#include "axis.h"
#include "grey_layer.h"
#include "plot_input.h"

#include <string>
#include <vector>

namespace aliplot {

// Colours that stay apart for readers with the common colour-vision
// deficiencies: blue for a forward chain, vermillion for a mirrored one,
// further chains in the next colours of the same family.
constexpr const char *FORWARD_COLOUR = "#0072b2";
constexpr const char *MIRRORED_COLOUR = "#d55e00";
// Alignment lines, and the cells of 1, 2-3, 4-15 and 16 or more alignments.
constexpr const char *GREY_LINE_COLOUR = "#939393";
constexpr const char *CELL_COLOURS[DENSITY_LEVELS] = {"#c4c4c4", "#9a9a9a", "#6c6c6c", "#383838"};

struct Picture {
  Frame frame;
  GreyLayer grey;
  std::vector<std::string> chainColours;  // one per chain of the input
  int decimals = 1;                       // of pixel coordinates: finer than a base, at most 3
  // Whole document and the plot area's top left corner, in pixels.
  int width = 0, height = 0;
  int plotLeft = 0, plotTop = 0, plotSize = 0;
  int legendLeft = 0;
  int maxTicks = 1;  // steps per axis at most, so that tick labels never touch
};

Picture pictureFor(const PlotInput &plot, int plotSize, size_t lineBudget);

// "forward chain" or "mirrored chain".
const char *chainName(const Chain &chain);

}  // namespace aliplot

#endif
