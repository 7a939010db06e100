#include "svg_bands.h"

#include "svg_text.h"

namespace aliplot {

namespace {

constexpr double NAME_PIXELS = 14;     // a band is named when at least this wide
constexpr double SEPARATOR_GAP = 2;    // pixels between separators at least
constexpr double SEPARATED_PIXELS = 4; // a band this wide is set off from its neighbours
constexpr const char *SEPARATOR_COLOUR = "#b8b8b8";

double bandPixels(const Sequence &sequence, const Axis &axis) {
  return axis.toPixel(static_cast<double>(sequence.offset + sequence.length)) -
         axis.toPixel(static_cast<double>(sequence.offset));
}

double bandMiddle(const Sequence &sequence, const Axis &axis) {
  return axis.toPixel(static_cast<double>(sequence.offset) + static_cast<double>(sequence.length) / 2);
}

// Whether the line where band i begins is drawn: a line between two
// bands too narrow to see would only hatch the plot.
bool separated(const std::vector<Sequence> &sequences, size_t i, const Axis &axis) {
  return bandPixels(sequences[i], axis) >= SEPARATED_PIXELS || bandPixels(sequences[i - 1], axis) >= SEPARATED_PIXELS;
}

std::string shownName(const Sequence &sequence) {
  return (sequence.flipped ? "\u2212" : "") + shortenedFront(sequence.name, BAND_NAME_CHARS);
}

}  // namespace

size_t unnamedBands(const std::vector<Sequence> &sequences, const Axis &axis) {
  size_t unnamed = 0;
  for (const Sequence &sequence : sequences) unnamed += bandPixels(sequence, axis) < NAME_PIXELS;
  return unnamed;
}

void writeBandNames(std::string &out, const PlotInput &plot, const Picture &picture) {
  const Frame &frame = picture.frame;
  out += "<g id=\"x-ticks\" class=\"bands\" transform=\"translate(" + std::to_string(picture.plotLeft) + "," +
         std::to_string(picture.plotTop + picture.plotSize) + ")\">\n";
  for (const Sequence &reference : plot.references) {
    if (bandPixels(reference, frame.x) < NAME_PIXELS) continue;
    out += "<text text-anchor=\"end\" font-size=\"11\" transform=\"translate(";
    appendNumber(out, bandMiddle(reference, frame.x) + 4, 1);
    out += ",8) rotate(-60)\">" + xmlEscaped(shownName(reference)) + "</text>\n";
  }
  out += "</g>\n<g id=\"y-ticks\" class=\"bands\" transform=\"translate(" + std::to_string(picture.plotLeft) + "," +
         std::to_string(picture.plotTop) + ")\">\n";
  for (const Sequence &query : plot.queries) {
    if (bandPixels(query, frame.y) < NAME_PIXELS) continue;
    appendText(out, -6, picture.plotSize - bandMiddle(query, frame.y) + 4, shownName(query),
               " text-anchor=\"end\" font-size=\"11\"");
  }
  out += "</g>\n";
}

void writeSeparators(std::string &out, const PlotInput &plot, const Picture &picture) {
  const double size = picture.plotSize;
  out += std::string("<path id=\"separators\" fill=\"none\" stroke-width=\"0.6\" stroke=\"") + SEPARATOR_COLOUR +
         "\" d=\"";
  double last = 0;
  for (size_t i = 1; i < plot.references.size(); ++i) {
    const double x = picture.frame.x.toPixel(static_cast<double>(plot.references[i].offset));
    if (x - last < SEPARATOR_GAP || !separated(plot.references, i, picture.frame.x)) continue;
    out += 'M';
    appendNumber(out, x, 1);
    out += " 0v" + std::to_string(picture.plotSize);
    last = x;
  }
  last = 0;
  for (size_t i = 1; i < plot.queries.size(); ++i) {
    const double y = picture.frame.y.toPixel(static_cast<double>(plot.queries[i].offset));
    if (y - last < SEPARATOR_GAP || !separated(plot.queries, i, picture.frame.y)) continue;
    out += "M0 ";
    appendNumber(out, size - y, 1);
    out += 'h' + std::to_string(picture.plotSize);
    last = y;
  }
  out += "\"/>\n";
}

}  // namespace aliplot
