#include "svg_plot.h"

#include "svg_bands.h"
#include "svg_legend.h"
#include "svg_text.h"

namespace aliplot {

namespace {

constexpr const char *AXIS_COLOUR = "#444444";
constexpr const char *GRID_COLOUR = "#ececec";
constexpr const char *NOTE_COLOUR = "#666666";
constexpr int TITLE_CHAR_WIDTH = 12;  // pixels of the widest common characters at the title's size

void line(std::string &out, double x1, double y1, double x2, double y2, int decimals,
          const char *extra) {
  out += "<line";
  appendAttribute(out, "x1", x1, decimals);
  appendAttribute(out, "y1", y1, decimals);
  appendAttribute(out, "x2", x2, decimals);
  appendAttribute(out, "y2", y2, decimals);
  out += extra;
  out += "/>\n";
}

void writeAxisNames(std::string &out, const PlotInput &plot, const Picture &picture);

// Ticks and grid lines of both axes, each set in a group of its own that
// the page redraws when it zooms (x ticks hang below the plot's bottom edge,
// y ticks left of its left edge).
void writeAxes(std::string &out, const PlotInput &plot, const Picture &picture) {
  const double size = picture.plotSize;
  if (plot.bands) {
    writeBandNames(out, plot, picture);
    writeAxisNames(out, plot, picture);
    return;
  }
  out += "<g id=\"x-ticks\" transform=\"translate(" + std::to_string(picture.plotLeft) + "," +
         std::to_string(picture.plotTop + picture.plotSize) + ")\">\n";
  for (const Tick &tick : ticksFor(picture.frame.x, picture.maxTicks)) {
    line(out, tick.pixel, -size, tick.pixel, 0, 1, " class=\"grid\"");
    line(out, tick.pixel, 0, tick.pixel, 6, 1, " class=\"tick\"");
    appendText(out, tick.pixel, 21, tick.label, " text-anchor=\"middle\"");
  }
  out += "</g>\n<g id=\"y-ticks\" transform=\"translate(" + std::to_string(picture.plotLeft) + "," +
         std::to_string(picture.plotTop) + ")\">\n";
  for (const Tick &tick : ticksFor(picture.frame.y, picture.maxTicks)) {
    const double y = size - tick.pixel;
    line(out, 0, y, size, y, 1, " class=\"grid\"");
    line(out, -6, y, 0, y, 1, " class=\"tick\"");
    appendText(out, -9, y + 4.5, tick.label, " text-anchor=\"end\"");
  }
  out += "</g>\n";
  writeAxisNames(out, plot, picture);
}

void writeAxisNames(std::string &out, const PlotInput &plot, const Picture &picture) {
  const double size = picture.plotSize;
  // Below the slanted sequence names of a canvas of several.
  const double below = plot.bands ? 52 + BAND_NAMES_DEPTH : 52;
  appendText(out, picture.plotLeft + size / 2, picture.plotTop + size + below, plot.xName,
       " class=\"axis-name\" text-anchor=\"middle\"");
  out += "<text class=\"axis-name\" text-anchor=\"middle\" transform=\"translate(24," +
         std::to_string(picture.plotTop + picture.plotSize / 2) + ") rotate(-90)\">" +
         xmlEscaped(plot.yName) + "</text>\n";
}

// "M x y" for the first point of a segment, then "l dx dy" to its end.
void appendSegmentPath(std::string &out, const Segment &s, int decimals) {
  out += 'M';
  appendNumber(out, s.x1, decimals);
  out += ' ';
  appendNumber(out, s.y1, decimals);
  out += 'l';
  appendNumber(out, s.x2 - s.x1, decimals);
  const size_t separator = out.size();
  out += ' ';
  appendNumber(out, s.y2 - s.y1, decimals);
  // A minus sign separates the numbers by itself.
  if (out[separator + 1] == '-') out.erase(separator, 1);
}

// Cells as horizontal strokes one pixel wide through the middle of their
// row, each run moved to from the end of the previous one in its row.
void appendCellRuns(std::string &out, const std::vector<CellRun> &runs) {
  uint32_t row = UINT32_MAX, x = 0;
  for (const CellRun &run : runs) {
    if (run.y != row)
      out += 'M' + std::to_string(run.x) + ' ' + std::to_string(run.y) + ".5";
    else
      out += 'm' + std::to_string(run.x - x) + " 0";
    out += 'h' + std::to_string(run.length);
    row = run.y;
    x = run.x + run.length;
  }
}

// A layer's cells, one path per density level; `colours` gives each level's.
void writeCells(std::string &out, const ThinnedLayer &layer, const char *const (&colours)[DENSITY_LEVELS]) {
  for (int level = 0; level < DENSITY_LEVELS; ++level) {
    if (layer.runs[level].empty()) continue;
    out += "<path class=\"cells\" fill=\"none\" stroke-width=\"1\" stroke=\"";
    out += colours[level];
    out += "\" d=\"";
    appendCellRuns(out, layer.runs[level]);
    out += "\"/>\n";
  }
}

// The alignments outside every chain, each strand in a group of its own.
void writeStrandLayers(std::string &out, const PlotInput &plot, const Picture &picture) {
  for (int strand : {PLUS, MINUS}) {
    const ThinnedLayer &layer = picture.strands[strand];
    out += std::string("<g id=\"") + strandId(strand) + "\">\n";
    writeCells(out, layer, STRAND_COLOURS[strand].cells);
    if (!layer.lines.empty()) {
      out += std::string("<path id=\"") + strandId(strand) + "-lines\" class=\"lines\" fill=\"none\" stroke=\"";
      out += STRAND_COLOURS[strand].line;
      out += "\" stroke-width=\"1.2\" stroke-linecap=\"round\" d=\"";
      for (const uint64_t index : layer.lines)
        appendSegmentPath(out, segmentOf(picture.frame, plot.alignments[index]), picture.decimals);
      out += "\"/>\n";
    }
    out += "</g>\n";
  }
}

// alisyn's blocks, each class in a group of its own under the alignments:
// each block drawn as a line is a wide path element of its own, named by
// its id; blocks beyond the line budget are cells in the class's colour.
// Duplicated blocks, copies beside the main view, go under the syntenic
// ones, and the rearrangements over them.
void writeBlocks(std::string &out, const PlotInput &plot, const Picture &picture) {
  if (plot.blocksFile.empty()) return;
  for (const BlockClass blockClass :
       {BlockClass::DUPLICATED, BlockClass::SYNTENIC, BlockClass::INVERTED, BlockClass::TRANSLOCATED}) {
    const int c = static_cast<int>(blockClass);
    const char *colour = BLOCK_COLOURS[c];
    out += "<g id=\"" + blockLayerId(c) + "\" class=\"blocks\" fill=\"none\" stroke=\"" + colour +
           "\" stroke-width=\"";
    appendNumber(out, BLOCK_WIDTH, 1);
    out += "\" stroke-linecap=\"round\">\n";
    const char *const cellColours[DENSITY_LEVELS] = {colour, colour, colour, colour};
    writeCells(out, picture.blockLayers[c], cellColours);
    for (const uint64_t index : picture.blockLayers[c].lines) {
      out += "<path data-block=\"" + std::to_string(plot.blocks[index].id) + "\" d=\"";
      appendSegmentPath(out, segmentOf(picture.frame, plot.blockExtents[index]), picture.decimals);
      out += "\"/>\n";
    }
    out += "</g>\n";
  }
}

// Each member drawn as a line is a path element of its own, in its chain's
// colour (set on the chain's group), dashed on the minus strand; members
// beyond the line budget are cells in the same colour.
void writeChains(std::string &out, const PlotInput &plot, const Picture &picture) {
  for (size_t c = 0; c < plot.chains.size(); ++c) {
    // Later chains are drawn narrower on top of earlier ones, so that a
    // member of two chains shows both colours.
    const double width = 2.5 + 2 * static_cast<double>(plot.chains.size() - 1 - c);
    const std::string &colour = picture.chainColours[c];
    out += "<g id=\"chain-" + std::to_string(c + 1) + "\" class=\"chain\" fill=\"none\" stroke=\"" +
           colour + "\" stroke-width=\"";
    appendNumber(out, width, 1);
    out += "\" stroke-linecap=\"round\">\n";
    const char *const cellColours[DENSITY_LEVELS] = {colour.c_str(), colour.c_str(), colour.c_str(),
                                                     colour.c_str()};
    writeCells(out, picture.chainLayers[c], cellColours);
    for (const uint64_t index : picture.chainLayers[c].lines) {
      const Alignment &member = plot.alignments[index];
      out += "<path data-n=\"" + std::to_string(index + 1) + "\" ";
      if (member.strand == '-') out += std::string("stroke-dasharray=\"") + MINUS_MEMBER_DASHES + "\" ";
      out += "d=\"";
      appendSegmentPath(out, segmentOf(picture.frame, member), picture.decimals);
      out += "\"/>\n";
    }
    out += "</g>\n";
  }
}

}  // namespace

std::string svgElement(const PlotInput &plot, const Picture &picture) {
  const std::string width = std::to_string(picture.width), height = std::to_string(picture.height);
  const std::string size = std::to_string(picture.plotSize);
  std::string out = "<svg xmlns=\"http://www.w3.org/2000/svg\" id=\"dotplot\" width=\"" + width +
                    "\" height=\"" + height + "\" viewBox=\"0 0 " + width + " " + height +
                    "\" font-family=\"DejaVu Sans, Helvetica, Arial, sans-serif\" font-size=\"13\" fill=\"#222222\">\n";
  out += "<title>" + xmlEscaped(plot.title) + "</title>\n";
  out += "<style>.grid{stroke:" + std::string(GRID_COLOUR) + "} .tick{stroke:" + AXIS_COLOUR +
         "} .note{fill:" + NOTE_COLOUR + ";font-size:12px} .axis-name{font-weight:bold}</style>\n";
  out += "<rect width=\"" + width + "\" height=\"" + height + "\" fill=\"#ffffff\"/>\n";
  // A long title keeps its end, as file names tell most there.
  const size_t titleChars = static_cast<size_t>((picture.width - picture.plotLeft - 16) / TITLE_CHAR_WIDTH);
  appendText(out, picture.plotLeft, 38, shortenedFront(plot.title, titleChars),
             " font-size=\"18\" font-weight=\"bold\"");
  writeAxes(out, plot, picture);
  out += "<svg id=\"plot\" x=\"" + std::to_string(picture.plotLeft) + "\" y=\"" +
         std::to_string(picture.plotTop) + "\" width=\"" + size + "\" height=\"" + size +
         "\" viewBox=\"0 0 " + size + " " + size + "\" preserveAspectRatio=\"none\" overflow=\"hidden\">\n";
  if (plot.bands) writeSeparators(out, plot, picture);
  writeBlocks(out, plot, picture);
  writeStrandLayers(out, plot, picture);
  writeChains(out, plot, picture);
  out += "</svg>\n<rect x=\"" + std::to_string(picture.plotLeft) + "\" y=\"" +
         std::to_string(picture.plotTop) + "\" width=\"" + size + "\" height=\"" + size +
         "\" fill=\"none\" stroke=\"" + AXIS_COLOUR + "\"/>\n";
  writeLegend(out, plot, picture);
  out += "</svg>\n";
  return out;
}

std::string svgDocument(const PlotInput &plot, const Picture &picture) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + svgElement(plot, picture);
}

}  // namespace aliplot
