// The command line of aliplot.
#ifndef ALIPLOT_OPTIONS_H
#define ALIPLOT_OPTIONS_H

#include <string>

#include "plot_input.h"
#include "sequence_layout.h"
#include "program.h"
#include <vector>

namespace aliplot {

enum class OutputFormat { SVG, HTML, PNG, PDF };

struct Options {
  std::string alignments;            // the alignment file ("-": standard input)
  std::vector<std::string> reports;  // chain reports of that file
  std::string blocks;                // --blocks: alisyn's blocks table of that file
  std::string assign;                // --assign: alisyn's assignment table of that file
  std::string output;                // OUT ("-": standard output)
  OutputFormat format = OutputFormat::SVG;
  int plotSize = 720;                // side of the square plot area in pixels
  std::string title;                 // --title: else the input's name
  SequenceOrder order = SequenceOrder::FILE;  // --order: of the references
  PairChoice pair;                   // --pair: the one pair to plot
  InputFormat input;                 // -i: the input's format, else recognised
};

// The usage text, ending in a line break.
const char *usageText();

// Reads the arguments after the program name; throws UsageError with a
// message (without the usage text) when they make no valid run, and
// common::InfoRequest for --help and --version.
Options parseOptions(const std::vector<std::string> &arguments);

using UsageError = common::UsageError;

}  // namespace aliplot

#endif
