// Everything a plot document is drawn from, worked out once for the SVG
// picture and the HTML page: the frame, the layers of each strand and of
// each chain and of each class of alisyn's blocks, the chains' colours and the places of the plot area and the
// legend.
#ifndef ALIPLOT_PICTURE_H
#define ALIPLOT_PICTURE_H

#include "axis.h"
#include "thinned_layer.h"
#include "plot_input.h"

#include <string>
#include <vector>

namespace aliplot {

// Colours that stay apart for readers with the common colour-vision
// deficiencies: blue for a forward chain, vermillion for a mirrored one,
// further chains in the next colours of the same family.
constexpr const char *FORWARD_COLOUR = "#0072b2";
constexpr const char *MIRRORED_COLOUR = "#d55e00";
// The alignments outside the chains by strand, in lighter shades of the
// same blue and orange: a line colour, and the cells of 1, 2-3, 4-15 and 16
// or more alignments.
enum Strand { PLUS = 0, MINUS = 1 };
struct StrandColours {
  const char *line;
  const char *cells[DENSITY_LEVELS];
};
constexpr StrandColours STRAND_COLOURS[2] = {
    {"#74a9cf", {"#c6dbef", "#8fbbdc", "#4a8bbf", "#1d5786"}},
    {"#eb9a5e", {"#fbd7b9", "#f2a86f", "#d2712b", "#8a430f"}},
};
// alisyn's blocks by class (BlockClass order), from a second colour-blind
// safe family, apart from the strands' and the chains' colours: olive,
// wine, indigo and sand. Blocks are wide bands under the alignments.
constexpr const char *BLOCK_COLOURS[BLOCK_CLASSES] = {"#999933", "#882255", "#332288", "#ddcc77"};
constexpr double BLOCK_WIDTH = 7;
// The dash pattern of a chain member on the minus strand.
constexpr const char *MINUS_MEMBER_DASHES = "5 3";

struct Picture {
  Frame frame;
  ThinnedLayer strands[2];                // alignments outside every chain, by Strand
  std::vector<ThinnedLayer> chainLayers;  // one per chain: its members
  std::vector<std::string> chainColours;  // one per chain of the input
  ThinnedLayer blockLayers[BLOCK_CLASSES];  // alisyn's blocks, by class
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

// "plus" or "minus": the id of a strand's layer.
const char *strandId(int strand);

// "blocks-syntenic", ...: the id of a class's layer.
std::string blockLayerId(int blockClass);

}  // namespace aliplot

#endif
