#include "svg_legend.h"

#include "svg_bands.h"
#include "svg_text.h"
#include "synteny_input.h"

namespace aliplot {

namespace {

constexpr const char *AXIS_COLOUR = "#444444";
constexpr double LINE_HEIGHT = 17;
constexpr double ENTRY_GAP = 16;
constexpr size_t PATH_LINES = 3;  // of a report's name at most

struct LegendEntry {
  std::string swatch;  // how the entry is drawn: at the origin, 30 pixels wide, centred on y = 0
  std::vector<std::string> lines;
};

double entryHeight(const LegendEntry &entry) {
  return LINE_HEIGHT * static_cast<double>(entry.lines.size()) + ENTRY_GAP;
}

std::string lineSwatch(const std::string &colour, double width, const char *dashes = nullptr) {
  std::string swatch = "<line x2=\"30\" stroke=\"" + colour + "\" stroke-width=\"";
  appendNumber(swatch, width, 1);
  swatch += "\" stroke-linecap=\"round\"";
  if (dashes) swatch += std::string(" stroke-dasharray=\"") + dashes + "\"";
  return swatch + "/>";
}

std::string cellSwatch(const char *const (&colours)[DENSITY_LEVELS], int y) {
  std::string swatch;
  for (int level = 0; level < DENSITY_LEVELS; ++level)
    swatch += "<rect x=\"" + std::to_string(level * 8) + "\" y=\"" + std::to_string(y) +
              "\" width=\"7\" height=\"5\" fill=\"" + colours[level] + "\"/>";
  return swatch;
}

std::string counted(uint64_t count, const char *one, const char *many) {
  return groupedCount(count) + " " + (count == 1 ? one : many);
}

void addChain(std::vector<LegendEntry> &entries, const PlotInput &plot, const Picture &picture, size_t c) {
  const Chain &chain = plot.chains[c];
  LegendEntry entry{lineSwatch(picture.chainColours[c], 3),
                    {std::string(chainName(chain)) + ": " + counted(chain.members.size(), "member", "members"),
                     "score sum " + chain.scoreSum}};
  uint64_t minus = 0;
  for (const uint64_t member : chain.members) minus += plot.alignments[member - 1].strand == '-';
  if (minus > 0) entry.lines.push_back("dashed: " + groupedCount(minus) + " on the \u2212 strand");
  if (picture.chainLayers[c].binned > 0)
    entry.lines.push_back(groupedCount(picture.chainLayers[c].binned) + " of them drawn as pixels");
  for (const std::string &line : wrapped("from " + chain.report, LEGEND_LINE_CHARS, PATH_LINES))
    entry.lines.push_back(line);
  entries.push_back(std::move(entry));
}

// alisyn's blocks: where they come from, and each class counted.
void addBlocks(std::vector<LegendEntry> &entries, const PlotInput &plot, const Picture &picture) {
  LegendEntry source{"", wrapped("blocks from " + plot.blocksFile, LEGEND_LINE_CHARS, PATH_LINES)};
  uint64_t counts[BLOCK_CLASSES] = {}, binned = 0;
  for (const BlockFacts &block : plot.blocks) ++counts[static_cast<int>(block.blockClass)];
  for (const ThinnedLayer &layer : picture.blockLayers) binned += layer.binned;
  if (binned > 0) source.lines.push_back(counted(binned, "block", "blocks") + " drawn as pixels");
  entries.push_back(std::move(source));
  for (int c = 0; c < BLOCK_CLASSES; ++c)
    entries.push_back({lineSwatch(BLOCK_COLOURS[c], BLOCK_WIDTH),
                       {std::string(blockClassName(static_cast<BlockClass>(c))) + ": " +
                        counted(counts[c], "block", "blocks")}});
}

// The sequences of a canvas of several.
void addSequences(std::vector<LegendEntry> &entries, const PlotInput &plot, const Picture &picture) {
  size_t turned = 0;
  for (const Sequence &query : plot.queries) turned += query.flipped;
  const size_t unnamed =
      unnamedBands(plot.references, picture.frame.x) + unnamedBands(plot.queries, picture.frame.y);
  LegendEntry entry{"", {counted(plot.references.size(), "reference", "references") + ", " +
                             counted(plot.queries.size(), "query", "queries")}};
  if (turned > 0) entry.lines.push_back(counted(turned, "query", "queries") + " turned over (\u2212name)");
  if (unnamed > 0) entry.lines.push_back(counted(unnamed, "sequence", "sequences") + " too narrow to name");
  entries.push_back(std::move(entry));
}

// Sequences the input names without an alignment, which are not drawn.
void addUnaligned(std::vector<LegendEntry> &entries, const PlotInput &plot) {
  if (plot.unalignedReferences + plot.unalignedQueries == 0) return;
  entries.push_back({"", {"left out, without alignments:", counted(plot.unalignedReferences, "reference", "references") +
                                                                ", " + counted(plot.unalignedQueries, "query", "queries")}});
}

std::vector<LegendEntry> legendEntries(const PlotInput &plot, const Picture &picture) {
  std::vector<LegendEntry> entries;
  const uint64_t count = plot.alignments.size();
  entries.push_back({"", {counted(count, "alignment", "alignments")}});
  if (plot.bands) addSequences(entries, plot, picture);
  addUnaligned(entries, plot);
  uint64_t binned = 0;
  for (int strand : {PLUS, MINUS}) {
    const ThinnedLayer &layer = picture.strands[strand];
    const uint64_t drawn = layer.lines.size() + layer.binned;
    LegendEntry entry{lineSwatch(STRAND_COLOURS[strand].line, 1.5),
                      {std::string(strand == PLUS ? "+" : "\u2212") + " strand: " + groupedCount(drawn)}};
    if (!plot.chains.empty()) entry.lines.push_back("outside the chains");
    entries.push_back(std::move(entry));
    binned += layer.binned;
  }
  if (binned > 0)
    entries.push_back({cellSwatch(STRAND_COLOURS[PLUS].cells, -6) + cellSwatch(STRAND_COLOURS[MINUS].cells, 1),
                       {groupedCount(binned) + " of them drawn as pixels,", "darker where more of them meet"}});
  for (size_t c = 0; c < plot.chains.size(); ++c) addChain(entries, plot, picture, c);
  if (!plot.blocksFile.empty()) addBlocks(entries, plot, picture);
  // How to read a segment's direction.
  const std::string strandLine = "\" stroke=\"" + std::string(AXIS_COLOUR) + "\" stroke-width=\"1.5\"/>";
  entries.push_back({"<line x1=\"4\" y1=\"7\" x2=\"26\" y2=\"-7" + strandLine, {"+ strand: rises to the right"}});
  entries.push_back({"<line x1=\"4\" y1=\"-7\" x2=\"26\" y2=\"7" + strandLine, {"\u2212 strand: falls to the right"}});
  return entries;
}

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xc0) == 0x80; }

}  // namespace

std::vector<std::string> wrapped(const std::string &text, size_t limit, size_t maxLines) {
  std::vector<std::string> lines;
  size_t begin = 0;
  while (text.size() - begin > limit) {
    size_t end = begin + limit;
    while (end > begin && continuation(text[end])) --end;
    // A break after a '/' or a blank in the line's last third reads better.
    for (size_t at = end; at > begin + limit * 2 / 3; --at)
      if (text[at - 1] == '/' || text[at - 1] == ' ') {
        end = at;
        break;
      }
    // A character longer than the limit makes a line of its own.
    if (end == begin) {
      end = begin + 1;
      while (end < text.size() && continuation(text[end])) ++end;
    }
    lines.push_back(text.substr(begin, end - begin));
    begin = end;
  }
  lines.push_back(text.substr(begin));
  if (lines.size() > maxLines) {
    lines.erase(lines.begin(), lines.end() - static_cast<std::ptrdiff_t>(maxLines));
    std::string &first = lines.front();
    first.erase(0, 1);
    while (!first.empty() && continuation(first.front())) first.erase(0, 1);
    first.insert(0, "\u2026");
  }
  return lines;
}

double legendHeight(const PlotInput &plot, const Picture &picture) {
  double height = 0;
  for (const LegendEntry &entry : legendEntries(plot, picture)) height += entryHeight(entry);
  return height;
}

void writeLegend(std::string &out, const PlotInput &plot, const Picture &picture) {
  out += "<g id=\"legend\" transform=\"translate(" + std::to_string(picture.legendLeft) + "," +
         std::to_string(picture.plotTop + 8) + ")\">\n";
  double y = 0;
  for (const LegendEntry &entry : legendEntries(plot, picture)) {
    out += "<g transform=\"translate(0,";
    appendNumber(out, y, 1);
    out += ")\">" + entry.swatch;
    for (size_t i = 0; i < entry.lines.size(); ++i)
      appendText(out, entry.swatch.empty() ? 0 : 40, 5 + LINE_HEIGHT * static_cast<double>(i), entry.lines[i],
                 i == 0 ? "" : " class=\"note\"");
    out += "</g>\n";
    y += entryHeight(entry);
  }
  out += "</g>\n";
}

}  // namespace aliplot
