// What a plot shows: the alignments of one file and the chains that reports
// of alichain found among them.
#ifndef ALIPLOT_PLOT_INPUT_H
#define ALIPLOT_PLOT_INPUT_H

#include <cstdint>
#include <string>
#include <vector>

namespace aliplot {

// One alignment line; its number is its position among the alignment lines,
// from 1 (index + 1 in PlotInput::alignments).
struct Alignment {
  int64_t xb = 0, yb = 0, xe = 0, ye = 0;
  float score = 0;
  char strand = '+';  // '-': the second sequence runs backwards
};

struct Chain {
  std::string report;            // the report's file name
  bool mirrored = false;         // runs backwards in the second sequence
  std::vector<uint64_t> members; // alignment numbers, ascending
  std::string scoreSum;          // as the report writes it
};

struct PlotInput {
  std::string title;             // the alignment file's name
  std::string xName, yName;      // the sequences' names
  int64_t xLength = 0, yLength = 0;  // from the sequence:sequence line; 0: unknown
  std::vector<Alignment> alignments;
  uint64_t minusAlignments = 0;
  std::vector<Chain> chains;
};

// Reads the alignment file and the reports. Throws common::ToolError naming
// the file (and line) when a file cannot be read, a line is malformed, or a
// report does not belong to the alignment file: a member number beyond its
// alignments, or a member line that differs from the alignment line with
// that number.
PlotInput readPlotInput(const std::string &alignmentPath, const std::vector<std::string> &reportPaths);

}  // namespace aliplot

#endif
