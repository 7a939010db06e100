#include "options.h"

#include "command_line.h"
#include "option_values.h"

#include <algorithm>

namespace aliplot {

namespace {

constexpr int MIN_PLOT_SIZE = 200;
constexpr int MAX_PLOT_SIZE = 3000;

bool endsWith(const std::string &text, const std::string &suffix) {
  return text.size() >= suffix.size() &&
         text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

OutputFormat formatNamed(const std::string &name) {
  if (name == "svg") return OutputFormat::SVG;
  if (name == "html") return OutputFormat::HTML;
  if (name == "png") return OutputFormat::PNG;
  if (name == "pdf") return OutputFormat::PDF;
  throw UsageError{"unknown format '" + name + "' (svg, html, png or pdf)"};
}

OutputFormat formatOfOutput(const std::string &output) {
  if (endsWith(output, ".svg")) return OutputFormat::SVG;
  if (endsWith(output, ".html") || endsWith(output, ".htm")) return OutputFormat::HTML;
  if (endsWith(output, ".png")) return OutputFormat::PNG;
  if (endsWith(output, ".pdf")) return OutputFormat::PDF;
  throw UsageError{"cannot tell the format from '" + output +
                   "': name it .svg, .html, .png or .pdf, or give --format"};
}

SequenceOrder orderNamed(const std::string &name) {
  if (name == "file") return SequenceOrder::FILE;
  if (name == "length") return SequenceOrder::LENGTH;
  if (name == "name") return SequenceOrder::NAME;
  throw UsageError{"--order takes file, length or name, not '" + name + "'"};
}

int plotSizeFrom(const std::string &text) {
  return static_cast<int>(
      common::numberOption("--size", text, MIN_PLOT_SIZE, MAX_PLOT_SIZE, "a number of pixels"));
}

}  // namespace

const char *usageText() {
  return "usage: aliplot [options] ALIGNMENTS [REPORT...] -o OUT\n"
         "Draws the alignments of ALIGNMENTS (any format aliconv reads, plain or gzip;\n"
         "'-': standard input) as a dot plot, with the members of each chain REPORT\n"
         "that alichain wrote for it (its standard output or a .chainout file; then\n"
         "ALIGNMENTS is the alignment file alichain read) in colour.\n"
         "OUT ending in .svg gives an SVG picture, in .png or .pdf the same picture\n"
         "rendered, in .html an interactive page.\n"
         "  -o OUT           the plot to write ('-': standard output, needs --format)\n"
         "  --format FORMAT  svg, html, png or pdf, whatever OUT ends in\n"
         "  --title TEXT     the picture's title (default: the input's name)\n"
         "  --size PIXELS    side of the square plot area (default 720)\n"
         "  -i FORMAT        the input's format, else recognised from its content:\n"
         "                   paf, sam, bam, cram, blast6, blast7, delta, coords, maf,\n"
         "                   general or gff (the alignment file)\n"
         "  --blocks FILE    alisyn's PREFIX.blocks.tsv of ALIGNMENTS: its synteny\n"
         "                   blocks drawn coloured by class, queries placed by them\n"
         "  --assign FILE    alisyn's PREFIX.assign.tsv of ALIGNMENTS: each query's\n"
         "                   reference and orientation on a canvas of several\n"
         "An input of several sequence pairs is drawn on one canvas: references along\n"
         "x, queries along y placed and turned by where most of each aligns.\n"
         "  --order ORDER    of the references: file (default), length or name\n"
         "  --pair REF,QUERY plot only this sequence pair\n"
         "  -h, --help       this text\n"
         "  --version        the version\n";
}

Options parseOptions(const std::vector<std::string> &arguments) {
  using common::Option;
  Options options;
  bool formatGiven = false;
  const std::vector<std::string> files = common::parseCommandLine(arguments, {
      {'o', nullptr, Option::VALUE, [&](const std::string &v) { options.output = v; }},
      {0, "format", Option::VALUE, [&](const std::string &v) {
         options.format = formatNamed(v);
         formatGiven = true;
       }},
      {0, "order", Option::VALUE, [&](const std::string &v) { options.order = orderNamed(v); }},
      {0, "blocks", Option::VALUE, [&](const std::string &v) { options.blocks = v; }},
      {0, "assign", Option::VALUE, [&](const std::string &v) { options.assign = v; }},
      {0, "title", Option::VALUE, [&](const std::string &v) { options.title = v; }},
      {0, "size", Option::VALUE, [&](const std::string &v) { options.plotSize = plotSizeFrom(v); }},
      {'i', nullptr, Option::VALUE, [&](const std::string &v) {
         options.input = InputFormat{true, aliconv::formatOption(v)};
       }},
      {0, "pair", Option::VALUE, [&](const std::string &v) {
         const common::SequencePair pair = common::pairOption(v);
         options.pair = PairChoice{pair.reference, pair.query};
       }},
  });
  if (files.empty()) throw UsageError{"no alignment file given"};
  if (options.output.empty()) throw UsageError{"no output given (-o OUT)"};
  options.alignments = files.front();
  options.reports.assign(files.begin() + 1, files.end());
  const auto standardInputs = std::count(files.begin(), files.end(), "-") + (options.blocks == "-") +
                              (options.assign == "-");
  if (standardInputs > 1)
    throw UsageError{"only one input can be standard input"};
  if (!formatGiven) options.format = formatOfOutput(options.output);
  return options;
}

}  // namespace aliplot
