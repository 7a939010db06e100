#include "options.h"

#include <algorithm>
#include <charconv>

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

int plotSizeFrom(const std::string &text) {
  int size = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
  if (error != std::errc() || end != text.data() + text.size() || size < MIN_PLOT_SIZE ||
      size > MAX_PLOT_SIZE)
    throw UsageError{"--size takes a number of pixels from " + std::to_string(MIN_PLOT_SIZE) +
                     " to " + std::to_string(MAX_PLOT_SIZE) + ", not '" + text + "'"};
  return size;
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
         "  -h, --help       this text\n";
}

Options parseOptions(const std::vector<std::string> &arguments) {
  Options options;
  std::vector<std::string> files;
  std::string format;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string &argument = arguments[i];
    const bool takesValue = argument == "-o" || argument == "--format" || argument == "--size";
    if (optionsEnded || argument == "-" || argument.empty() || argument[0] != '-') {
      files.push_back(argument);
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "-h" || argument == "--help") {
      options.help = true;
      return options;
    } else if (!takesValue) {
      throw UsageError{"unknown option '" + argument + "'"};
    } else if (i + 1 == arguments.size()) {
      throw UsageError{"option " + argument + " needs a value"};
    } else {
      const std::string &value = arguments[++i];
      if (argument == "-o") options.output = value;
      if (argument == "--format") format = value;
      if (argument == "--size") options.plotSize = plotSizeFrom(value);
    }
  }
  if (files.empty()) throw UsageError{"no alignment file given"};
  if (options.output.empty()) throw UsageError{"no output given (-o OUT)"};
  options.alignments = files.front();
  options.reports.assign(files.begin() + 1, files.end());
  if (std::count(files.begin(), files.end(), "-") > 1)
    throw UsageError{"only one input can be standard input"};
  if (!format.empty()) {
    options.format = formatNamed(format);
  } else if (endsWith(options.output, ".svg")) {
    options.format = OutputFormat::SVG;
  } else if (endsWith(options.output, ".html") || endsWith(options.output, ".htm")) {
    options.format = OutputFormat::HTML;
  } else {
    throw UsageError{"cannot tell the format from '" + options.output +
                     "': name it .svg or .html, or give --format"};
  }
  return options;
}

}  // namespace aliplot
