#include "html_page.h"

#include "page_assets.h"
#include "svg_plot.h"
#include "svg_text.h"

namespace aliplot {

namespace {

void appendAxis(std::string &out, const char *key, const Axis &axis, const std::string &name) {
  out += std::string("\"") + key + "\":{\"origin\":";
  appendNumber(out, axis.origin, 0);
  out += ",\"end\":";
  appendNumber(out, axis.end, 0);
  out += ",\"name\":" + jsonString(name) + "}";
}

// A layer's segments drawn as lines (given as alignment indices, ascending) as one flat array, seven numbers for each: the
// alignment number less the previous one's, xb, yb, xe - xb, ye - yb, the
// score and 1 for the minus strand (the differences keep large pages small).
void appendLayer(std::string &out, const PlotInput &plot, const std::string &id,
                 const std::string &toggle, const std::string &what, const std::vector<uint64_t> &indices) {
  out += "{\"id\":" + jsonString(id) + ",\"toggle\":" + jsonString(toggle) +
         ",\"what\":" + jsonString(what) + ",\"segments\":[";
  uint64_t previous = 0;
  for (const uint64_t index : indices) {
    const Alignment &a = plot.alignments[index];
    const uint64_t number = index + 1;
    out += previous == 0 ? "" : ",";
    // Differences of coordinates that may lie anywhere in 64 bits are taken unsigned.
    const auto difference = [](int64_t high, int64_t low) {
      return std::to_string(static_cast<int64_t>(static_cast<uint64_t>(high) - static_cast<uint64_t>(low)));
    };
    out += std::to_string(number - previous) + ',' + std::to_string(a.xb) + ',' +
           std::to_string(a.yb) + ',' + difference(a.xe, a.xb) + ',' + difference(a.ye, a.yb) + ',';
    previous = number;
    appendShortest(out, a.score);
    out += a.strand == '-' ? ",1" : ",0";
  }
  out += "]}";
}

// The bands of a canvas of several sequences, each as [offset, length,
// name, 1 when turned over], in canvas order.
void appendBands(std::string &out, const char *key, const std::vector<Sequence> &sequences) {
  out += std::string("\"") + key + "\":[";
  for (size_t i = 0; i < sequences.size(); ++i) {
    const Sequence &s = sequences[i];
    out += (i ? ",[" : "[") + std::to_string(s.offset) + ',' + std::to_string(s.length) + ',' + jsonString(s.name) +
           (s.flipped ? ",1]" : ",0]");
  }
  out += ']';
}

std::string plotData(const PlotInput &plot, const Picture &picture) {
  std::string out = "{\"plotSize\":" + std::to_string(picture.plotSize) +
                    ",\"plotLeft\":" + std::to_string(picture.plotLeft) +
                    ",\"plotTop\":" + std::to_string(picture.plotTop) +
                    ",\"maxTicks\":" + std::to_string(picture.maxTicks) + ",";
  appendAxis(out, "x", picture.frame.x, plot.xName);
  out += ',';
  appendAxis(out, "y", picture.frame.y, plot.yName);
  if (plot.bands) {
    out += ",\"bands\":{";
    appendBands(out, "x", plot.references);
    out += ',';
    appendBands(out, "y", plot.queries);
    out += '}';
  }
  out += ",\"layers\":[";
  for (int strand : {PLUS, MINUS}) {
    const std::string id = strandId(strand);
    out += strand == PLUS ? "" : ",";
    appendLayer(out, plot, id + "-lines", id, "alignment", picture.strands[strand].lines);
  }
  for (size_t c = 0; c < plot.chains.size(); ++c) {
    const std::string id = "chain-" + std::to_string(c + 1);
    out += ',';
    appendLayer(out, plot, id, id, std::string(chainName(plot.chains[c])) + " member",
                picture.chainLayers[c].lines);
  }
  return out + "]}";
}

std::string toggle(const std::string &layer, const std::string &colour, const std::string &label) {
  return "<label><input type=\"checkbox\" data-layer=\"" + layer + "\" checked>"
         "<span class=\"swatch\" style=\"background:" + colour + "\"></span>" +
         xmlEscaped(label) + "</label>\n";
}

}  // namespace

std::string htmlPage(const PlotInput &plot, const Picture &picture) {
  std::string page = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
                     xmlEscaped(plot.title) + " \u2013 aliplot</title>\n<style>\n" + PAGE_STYLE +
                     "</style>\n</head>\n<body>\n<div id=\"controls\">\n";
  page += toggle("plus", STRAND_COLOURS[PLUS].line, plot.chains.empty() ? "+ strand" : "+ strand, outside the chains");
  page += toggle("minus", STRAND_COLOURS[MINUS].line,
                 plot.chains.empty() ? "\u2212 strand" : "\u2212 strand, outside the chains");
  for (size_t c = 0; c < plot.chains.size(); ++c)
    page += toggle("chain-" + std::to_string(c + 1), picture.chainColours[c],
                   std::string(chainName(plot.chains[c])) + " (" + shortenedFront(plot.chains[c].report, 30) + ")");
  page += "<span class=\"hint\">hover: details \u00b7 drag: zoom in \u00b7 double-click: back</span>\n"
          "</div>\n<div id=\"figure\">\n";
  page += svgElement(plot, picture);
  page += "<div id=\"tip\" hidden></div>\n</div>\n<script type=\"application/json\" id=\"plot-data\">" +
          plotData(plot, picture) + "</script>\n<script>\n" + PAGE_SCRIPT + "</script>\n</body>\n</html>\n";
  return page;
}

}  // namespace aliplot
