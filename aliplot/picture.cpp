#include "picture.h"

#include "svg_bands.h"
#include "svg_legend.h"
#include "synteny_input.h"

#include <algorithm>
#include <cmath>

namespace aliplot {

namespace {

constexpr int MARGIN_LEFT = 86;
constexpr int MARGIN_TOP = 64;
constexpr int MARGIN_BOTTOM = 72;
constexpr int LEGEND_GAP = 28;
constexpr int LEGEND_WIDTH = 310;
constexpr int TICK_SPACING = 72;  // pixels per tick step at least

std::vector<std::string> chainColoursFor(const std::vector<Chain> &chains) {
  static const char *const further[] = {"#009e73", "#cc79a7", "#e69f00", "#56b4e9", "#000000"};
  std::vector<std::string> colours;
  bool forwardTaken = false, mirroredTaken = false;
  size_t next = 0;
  for (const Chain &chain : chains) {
    bool &taken = chain.mirrored ? mirroredTaken : forwardTaken;
    if (!taken) {
      colours.push_back(chain.mirrored ? MIRRORED_COLOUR : FORWARD_COLOUR);
      taken = true;
    } else {
      colours.push_back(further[next++ % std::size(further)]);
    }
  }
  return colours;
}

// Enough decimals that a pixel coordinate is finer than a base.
int decimalsFor(const Frame &frame) {
  const double basesPerPixel = std::max(frame.x.span(), frame.y.span()) / frame.x.pixels;
  return std::clamp(static_cast<int>(std::ceil(std::log10(std::max(basesPerPixel, 1.0)))), 1, 3);
}

// The sets of alignments drawn in a colour of their own, as indices: the
// two strands outside the chains (by Strand), then each chain's members;
// then the blocks of each class, as indices of the blocks.
std::vector<std::vector<uint64_t>> drawnSets(const PlotInput &plot) {
  std::vector<bool> isMember(plot.alignments.size());
  for (const Chain &chain : plot.chains)
    for (const uint64_t member : chain.members) isMember[member - 1] = true;
  std::vector<std::vector<uint64_t>> sets(2);
  for (uint64_t i = 0; i < plot.alignments.size(); ++i)
    if (!isMember[i]) sets[plot.alignments[i].strand == '-' ? MINUS : PLUS].push_back(i);
  for (const Chain &chain : plot.chains) {
    sets.emplace_back();
    for (const uint64_t member : chain.members) sets.back().push_back(member - 1);
  }
  sets.resize(sets.size() + BLOCK_CLASSES);
  for (uint64_t b = 0; b < plot.blocks.size(); ++b)
    sets[sets.size() - BLOCK_CLASSES + static_cast<size_t>(plot.blocks[b].blockClass)].push_back(b);
  return sets;
}

}  // namespace

Picture pictureFor(const PlotInput &plot, int plotSize, size_t lineBudget) {
  Picture picture;
  picture.frame = frameFor(plot, plotSize);
  const std::vector<std::vector<uint64_t>> sets = drawnSets(plot);
  // Every drawn set shares the one budget of lines.
  std::vector<size_t> sizes;
  for (const auto &set : sets) sizes.push_back(set.size());
  const std::vector<size_t> budgets = lineBudgets(sizes, lineBudget);
  const size_t firstBlockSet = sets.size() - BLOCK_CLASSES;
  for (size_t s = 0; s < sets.size(); ++s) {
    const std::vector<Alignment> &pieces = s < firstBlockSet ? plot.alignments : plot.blockExtents;
    ThinnedLayer layer = thinnedLayer(pieces, picture.frame, sets[s], budgets[s]);
    if (s < 2)
      picture.strands[s] = std::move(layer);
    else if (s < firstBlockSet)
      picture.chainLayers.push_back(std::move(layer));
    else
      picture.blockLayers[s - firstBlockSet] = std::move(layer);
  }
  picture.chainColours = chainColoursFor(plot.chains);
  picture.decimals = decimalsFor(picture.frame);
  // Room for the names of query sequences beside the axis's name.
  picture.plotLeft = MARGIN_LEFT + (plot.bands ? BAND_NAMES_DEPTH : 0);
  picture.plotTop = MARGIN_TOP;
  picture.plotSize = plotSize;
  picture.legendLeft = picture.plotLeft + plotSize + LEGEND_GAP;
  picture.width = picture.legendLeft + LEGEND_WIDTH;
  picture.height = MARGIN_TOP + plotSize + MARGIN_BOTTOM + (plot.bands ? BAND_NAMES_DEPTH : 0);
  picture.maxTicks = plotSize / TICK_SPACING;
  // A long legend makes the picture taller rather than leave it.
  const int legendBottom = MARGIN_TOP + 8 + static_cast<int>(std::ceil(legendHeight(plot, picture)));
  picture.height = std::max(picture.height, legendBottom);
  return picture;
}

const char *strandId(int strand) { return strand == MINUS ? "minus" : "plus"; }

std::string blockLayerId(int blockClass) {
  return std::string("blocks-") + blockClassName(static_cast<BlockClass>(blockClass));
}

const char *chainName(const Chain &chain) { return chain.mirrored ? "mirrored chain" : "forward chain"; }

}  // namespace aliplot
