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
  throw UsageError{"unknown format '" + name + "' (svg or html)"};
}

OutputFormat formatOfOutput(const std::string &output) {
  if (endsWith(output, ".svg")) return OutputFormat::SVG;
  if (endsWith(output, ".html") || endsWith(output, ".htm")) return OutputFormat::HTML;
  throw UsageError{"cannot tell the format from '" + output +
                   "': name it .svg or .html, or give --format"};
}

int plotSizeFrom(const std::string &text) {
  return static_cast<int>(
      common::numberOption("--size", text, MIN_PLOT_SIZE, MAX_PLOT_SIZE, "a number of pixels"));
}

}  // namespace

const char *usageText() {
  return "usage: aliplot [options] ALIGNMENTS [REPORT...] -o OUT\n"
         "Draws the alignments of ALIGNMENTS (the file alichain reads; '-': standard\n"
         "input) as a dot plot, with the members of each chain REPORT that alichain\n"
         "wrote for it (its standard output or a .chainout file) in colour.\n"
         "OUT ending in .svg gives an SVG picture, in .html an interactive page.\n"
         "  -o OUT           the plot to write ('-': standard output, needs --format)\n"
         "  --format FORMAT  svg or html, whatever OUT ends in\n"
         "  --size PIXELS    side of the square plot area (default 720)\n"
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
      {0, "size", Option::VALUE, [&](const std::string &v) { options.plotSize = plotSizeFrom(v); }},
  });
  if (files.empty()) throw UsageError{"no alignment file given"};
  if (options.output.empty()) throw UsageError{"no output given (-o OUT)"};
  options.alignments = files.front();
  options.reports.assign(files.begin() + 1, files.end());
  if (std::count(files.begin(), files.end(), "-") > 1)
    throw UsageError{"only one input can be standard input"};
  if (!formatGiven) options.format = formatOfOutput(options.output);
  return options;
}

}  // namespace aliplot
