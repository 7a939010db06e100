#include "html_page.h"

#include "page_assets.h"
#include "svg_plot.h"
#include "svg_text.h"
#include "synteny_input.h"

#include <algorithm>
#include <map>

namespace aliplot {

namespace {

void appendAxis(std::string &out, const char *key, const Axis &axis, const std::string &name) {
  out += std::string("\"") + key + "\":{\"origin\":";
  appendNumber(out, axis.origin, 0);
  out += ",\"end\":";
  appendNumber(out, axis.end, 0);
  out += ",\"name\":" + jsonString(name) + "}";
}

// A layer's segments drawn as lines (pieces given by index, ascending) as
// one flat array, eight numbers for each: the piece's number (alignment
// number, or block id) less the previous one's, xb, yb, xe - xb, ye - yb,
// the score, 1 for the minus strand and the identity in percent (-1: none);
// the differences keep large pages small. A block layer adds each block's
// number of alignments ("alignments").
void appendLayer(std::string &out, const PlotInput &plot, const std::string &id, const std::string &what,
                 const std::vector<uint64_t> &indices, bool blocks) {
  const std::vector<Alignment> &pieces = blocks ? plot.blockExtents : plot.alignments;
  out += "{\"id\":" + jsonString(id) + ",\"what\":" + jsonString(what) + ",\"segments\":[";
  // Differences of values that may lie anywhere in 64 bits are taken unsigned.
  const auto difference = [](uint64_t high, uint64_t low) { return std::to_string(static_cast<int64_t>(high - low)); };
  uint64_t previous = 0;
  for (size_t k = 0; k < indices.size(); ++k) {
    const Alignment &a = pieces[indices[k]];
    const uint64_t number = blocks ? plot.blocks[indices[k]].id : indices[k] + 1;
    out += k == 0 ? "" : ",";
    out += difference(number, previous) + ',' + std::to_string(a.xb) + ',' + std::to_string(a.yb) + ',' +
           difference(static_cast<uint64_t>(a.xe), static_cast<uint64_t>(a.xb)) + ',' +
           difference(static_cast<uint64_t>(a.ye), static_cast<uint64_t>(a.yb)) + ',';
    previous = number;
    appendShortest(out, a.score);
    out += a.strand == '-' ? ",1," : ",0,";
    appendNumber(out, a.identity, 2);
  }
  out += ']';
  if (blocks) {
    out += ",\"alignments\":[";
    for (size_t k = 0; k < indices.size(); ++k)
      out += (k ? "," : "") + std::to_string(plot.blocks[indices[k]].alignments);
    out += ']';
  }
  out += '}';
}

// The sequence pairs with alignments, as [reference, query, alignments]
// (indices into the bands), by reference, then query, in canvas order.
void appendPairs(std::string &out, const PlotInput &plot) {
  std::map<std::pair<uint32_t, uint32_t>, uint64_t> pairs;
  for (size_t i = 0; i < plot.alignments.size(); ++i) ++pairs[{plot.referenceOf[i], plot.queryOf[i]}];
  out += ",\"pairs\":[";
  bool first = true;
  for (const auto &[pair, count] : pairs) {
    out += (first ? "[" : ",[") + std::to_string(pair.first) + ',' + std::to_string(pair.second) + ',' +
           std::to_string(count) + ']';
    first = false;
  }
  out += ']';
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
    appendPairs(out, plot);
  }
  out += ",\"layers\":[";
  for (int strand : {PLUS, MINUS}) {
    out += strand == PLUS ? "" : ",";
    appendLayer(out, plot, strandId(strand), "alignment", picture.strands[strand].lines, false);
  }
  for (size_t c = 0; c < plot.chains.size(); ++c) {
    out += ',';
    appendLayer(out, plot, "chain-" + std::to_string(c + 1), std::string(chainName(plot.chains[c])) + " member",
                picture.chainLayers[c].lines, false);
  }
  if (!plot.blocksFile.empty())
    for (int c = 0; c < BLOCK_CLASSES; ++c) {
      out += ',';
      appendLayer(out, plot, blockLayerId(c), std::string(blockClassName(static_cast<BlockClass>(c))) + " block",
                  picture.blockLayers[c].lines, true);
    }
  return out + "]}";
}

std::string toggle(const std::string &layer, const std::string &colour, const std::string &label) {
  return "<label><input type=\"checkbox\" data-layer=\"" + layer + "\" checked>"
         "<span class=\"swatch\" style=\"background:" + colour + "\"></span>" +
         xmlEscaped(label) + "</label>\n";
}

// Fields that hide the alignments shorter than a length (reference bases)
// or, where the input states identities, below an identity.
std::string filterControls(const PlotInput &plot) {
  std::string controls = "<label>min. length <input id=\"min-length\" type=\"number\" min=\"0\" step=\"1\" "
                         "placeholder=\"0\" size=\"7\"> bp</label>\n";
  const bool identities = std::any_of(plot.alignments.begin(), plot.alignments.end(),
                                      [](const Alignment &a) { return a.identity >= 0; });
  if (identities)
    controls += "<label>min. identity <input id=\"min-identity\" type=\"number\" min=\"0\" max=\"100\" "
                "step=\"0.1\" placeholder=\"0\" size=\"5\"> %</label>\n";
  return controls + "<span id=\"filter-status\" class=\"hint\"></span>\n";
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
  if (!plot.blocksFile.empty())
    for (int c = 0; c < BLOCK_CLASSES; ++c)
      page += toggle(blockLayerId(c), BLOCK_COLOURS[c], std::string(blockClassName(static_cast<BlockClass>(c))) + " blocks");
  page += filterControls(plot);
  if (plot.bands) page += "<label>pair <select id=\"jump\"><option value=\"\">whole canvas</option></select></label>\n";
  page += "<span class=\"hint\">hover: details \u00b7 click: pin them \u00b7 drag: zoom in \u00b7 double-click: back</span>\n"
          "</div>\n<div id=\"figure\">\n";
  page += svgElement(plot, picture);
  page += "<div id=\"tip\" hidden><div id=\"tip-text\"></div><button id=\"copy\" type=\"button\">copy</button></div>\n</div>\n<script type=\"application/json\" id=\"plot-data\">" +
          plotData(plot, picture) + "</script>\n<script>\n" + PAGE_SCRIPT + "</script>\n</body>\n</html>\n";
  return page;
}

}  // namespace aliplot
