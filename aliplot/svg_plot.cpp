#include "svg_plot.h"

#include "svg_text.h"

namespace aliplot {

namespace {

constexpr const char *AXIS_COLOUR = "#444444";
constexpr const char *GRID_COLOUR = "#ececec";
constexpr const char *NOTE_COLOUR = "#666666";

// Appends name="value" for a pixel coordinate.
void attribute(std::string &out, const char *name, double value, int decimals) {
  out += ' ';
  out += name;
  out += "=\"";
  appendNumber(out, value, decimals);
  out += '"';
}

void text(std::string &out, double x, double y, const std::string &content, const char *extra = "") {
  out += "<text";
  attribute(out, "x", x, 1);
  attribute(out, "y", y, 1);
  out += extra;
  out += '>' + xmlEscaped(content) + "</text>\n";
}

void line(std::string &out, double x1, double y1, double x2, double y2, int decimals,
          const char *extra) {
  out += "<line";
  attribute(out, "x1", x1, decimals);
  attribute(out, "y1", y1, decimals);
  attribute(out, "x2", x2, decimals);
  attribute(out, "y2", y2, decimals);
  out += extra;
  out += "/>\n";
}

// Ticks and grid lines of both axes, each set in a group of its own that
// the page redraws when it zooms (x ticks hang below the plot's bottom edge,
// y ticks left of its left edge).
void writeAxes(std::string &out, const PlotInput &plot, const Picture &picture) {
  const double size = picture.plotSize;
  out += "<g id=\"x-ticks\" transform=\"translate(" + std::to_string(picture.plotLeft) + "," +
         std::to_string(picture.plotTop + picture.plotSize) + ")\">\n";
  for (const Tick &tick : ticksFor(picture.frame.x, picture.maxTicks)) {
    line(out, tick.pixel, -size, tick.pixel, 0, 1, " class=\"grid\"");
    line(out, tick.pixel, 0, tick.pixel, 6, 1, " class=\"tick\"");
    text(out, tick.pixel, 21, tick.label, " text-anchor=\"middle\"");
  }
  out += "</g>\n<g id=\"y-ticks\" transform=\"translate(" + std::to_string(picture.plotLeft) + "," +
         std::to_string(picture.plotTop) + ")\">\n";
  for (const Tick &tick : ticksFor(picture.frame.y, picture.maxTicks)) {
    const double y = size - tick.pixel;
    line(out, 0, y, size, y, 1, " class=\"grid\"");
    line(out, -6, y, 0, y, 1, " class=\"tick\"");
    text(out, -9, y + 4.5, tick.label, " text-anchor=\"end\"");
  }
  out += "</g>\n";
  text(out, picture.plotLeft + size / 2, picture.plotTop + size + 52, plot.xName,
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

void writeGreyLayer(std::string &out, const PlotInput &plot, const Picture &picture) {
  out += "<g id=\"grey\">\n";
  for (int level = 0; level < DENSITY_LEVELS; ++level) {
    if (picture.grey.runs[level].empty()) continue;
    out += "<path class=\"cells\" fill=\"none\" stroke-width=\"1\" stroke=\"";
    out += CELL_COLOURS[level];
    out += "\" d=\"";
    appendCellRuns(out, picture.grey.runs[level]);
    out += "\"/>\n";
  }
  if (!picture.grey.lines.empty()) {
    out += "<path id=\"grey-lines\" class=\"lines\" fill=\"none\" stroke=\"";
    out += GREY_LINE_COLOUR;
    out += "\" stroke-width=\"1.2\" stroke-linecap=\"round\" d=\"";
    for (const uint64_t index : picture.grey.lines)
      appendSegmentPath(out, segmentOf(picture.frame, plot.alignments[index]), picture.decimals);
    out += "\"/>\n";
  }
  out += "</g>\n";
}

// Each member is a path element of its own, in its chain's colour (set on
// the chain's group).
void writeChains(std::string &out, const PlotInput &plot, const Picture &picture) {
  for (size_t c = 0; c < plot.chains.size(); ++c) {
    // Later chains are drawn narrower on top of earlier ones, so that a
    // member of two chains shows both colours.
    const double width = 2.5 + 2 * static_cast<double>(plot.chains.size() - 1 - c);
    out += "<g id=\"chain-" + std::to_string(c + 1) + "\" class=\"chain\" fill=\"none\" stroke=\"" +
           picture.chainColours[c] + "\" stroke-width=\"";
    appendNumber(out, width, 1);
    out += "\" stroke-linecap=\"round\">\n";
    for (const uint64_t member : plot.chains[c].members) {
      out += "<path data-n=\"" + std::to_string(member) + "\" d=\"";
      appendSegmentPath(out, segmentOf(picture.frame, plot.alignments[member - 1]), picture.decimals);
      out += "\"/>\n";
    }
    out += "</g>\n";
  }
}

// A legend entry: a sample of how the entry is drawn (`swatch`, at the
// origin, 30 pixels wide, centred on y = 0) and lines of text beside it.
// Returns the height taken.
double legendEntry(std::string &out, double y, const std::string &swatch,
                   const std::vector<std::string> &lines) {
  out += "<g transform=\"translate(0,";
  appendNumber(out, y, 1);
  out += ")\">" + swatch;
  for (size_t i = 0; i < lines.size(); ++i)
    text(out, 40, 5 + 17.0 * static_cast<double>(i), lines[i],
         i == 0 ? "" : " class=\"note\"");
  out += "</g>\n";
  return 17.0 * static_cast<double>(lines.size()) + 16;
}

void writeLegend(std::string &out, const PlotInput &plot, const Picture &picture) {
  out += "<g id=\"legend\" transform=\"translate(" + std::to_string(picture.legendLeft) + "," +
         std::to_string(picture.plotTop + 8) + ")\">\n";
  const uint64_t count = plot.alignments.size();
  double y = 0;
  y += legendEntry(out, y,
                   std::string("<line x2=\"30\" stroke=\"") + GREY_LINE_COLOUR + "\" stroke-width=\"1.5\"/>",
                   {groupedCount(count) + (count == 1 ? " alignment" : " alignments"),
                    groupedCount(plot.minusAlignments) + " on the minus strand"});
  if (picture.grey.binned > 0) {
    std::string cells;
    for (int level = 0; level < DENSITY_LEVELS; ++level)
      cells += "<rect x=\"" + std::to_string(level * 8) + "\" y=\"-4\" width=\"7\" height=\"8\" fill=\"" +
               CELL_COLOURS[level] + "\"/>";
    y += legendEntry(out, y, cells,
                     {groupedCount(picture.grey.binned) + " of them drawn as pixels,",
                      "darker where more of them meet"});
  }
  for (size_t c = 0; c < plot.chains.size(); ++c) {
    const Chain &chain = plot.chains[c];
    const size_t members = chain.members.size();
    y += legendEntry(out, y,
                     "<line x2=\"30\" stroke=\"" + picture.chainColours[c] +
                         "\" stroke-width=\"3\" stroke-linecap=\"round\"/>",
                     {std::string(chainName(chain)) + ": " + groupedCount(members) +
                          (members == 1 ? " member" : " members"),
                      "score sum " + chain.scoreSum, "from " + shortenedFront(chain.report, 36)});
  }
  // How to read a segment's direction.
  const double bottom = picture.plotSize - 50;
  const std::string strandLine = "\" stroke=\"" + std::string(AXIS_COLOUR) + "\" stroke-width=\"1.5\"/>";
  legendEntry(out, bottom, "<line x1=\"4\" y1=\"7\" x2=\"26\" y2=\"-7" + strandLine,
              {"+ strand: rises to the right"});
  legendEntry(out, bottom + 24, "<line x1=\"4\" y1=\"-7\" x2=\"26\" y2=\"7" + strandLine,
              {"\u2212 strand: falls to the right"});
  out += "</g>\n";
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
  text(out, picture.plotLeft, 38, plot.title, " font-size=\"18\" font-weight=\"bold\"");
  writeAxes(out, plot, picture);
  out += "<svg id=\"plot\" x=\"" + std::to_string(picture.plotLeft) + "\" y=\"" +
         std::to_string(picture.plotTop) + "\" width=\"" + size + "\" height=\"" + size +
         "\" viewBox=\"0 0 " + size + " " + size + "\" preserveAspectRatio=\"none\" overflow=\"hidden\">\n";
  writeGreyLayer(out, plot, picture);
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
