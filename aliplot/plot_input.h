// What a plot shows: the alignments of one file and the chains that reports
// of alichain found among them.
#ifndef ALIPLOT_PLOT_INPUT_H
#define ALIPLOT_PLOT_INPUT_H

#include "format.h"

#include <cstdint>
#include <string>
#include <vector>

namespace aliplot {

// One alignment line; its number is its position among the alignment lines,
// from 1 (index + 1 in PlotInput::alignments).
struct Alignment {
  int64_t xb = 0, yb = 0, xe = 0, ye = 0;
  float score = 0;
  char strand = '+';    // '-': the second sequence runs backwards
  float identity = -1;  // percent; -1: the input states none
};

struct Chain {
  std::string report;            // the report's file name
  bool mirrored = false;         // runs backwards in the second sequence
  std::vector<uint64_t> members; // alignment numbers, ascending
  std::string scoreSum;          // as the report writes it
};

// A sequence of the input, and where it lies on the canvas of a plot of
// several (its band: from `offset` on, `length` long; flipped: drawn from
// its end, as the reverse complement).
struct Sequence {
  std::string name;
  int64_t length = 0;  // as stated; 0: unknown
  int64_t offset = 0;
  bool flipped = false;
};

// The classes alisyn gives its synteny blocks, in the order of its tables'
// legend and of the picture's layers.
enum class BlockClass { SYNTENIC, INVERTED, TRANSLOCATED, DUPLICATED };
constexpr int BLOCK_CLASSES = 4;

// A synteny block of alisyn's blocks table: its extent is drawn like an
// alignment (in PlotInput::blockExtents, at the same index).
struct BlockFacts {
  uint64_t id = 0;
  BlockClass blockClass = BlockClass::SYNTENIC;
  uint64_t alignments = 0;
  std::string score;  // as the table writes it
};

// A query's reference and orientation as alisyn assigned them.
struct Assignment {
  int64_t reference = -1;  // index in PlotInput::references; -1: none
  char strand = '+';
};

struct PlotInput {
  std::string title;             // the alignment file's name
  std::string format;            // its format's name ("paf", "gff", ...)
  std::string xName, yName;      // the sequences' names
  int64_t xLength = 0, yLength = 0;  // from the sequence:sequence line; 0: unknown
  std::vector<Alignment> alignments;
  uint64_t minusAlignments = 0;
  std::vector<Chain> chains;
  // Every sequence of each side in the order of first appearance, and for
  // each alignment the index of its reference and of its query.
  std::vector<Sequence> references, queries;
  std::vector<uint32_t> referenceOf, queryOf;
  // alisyn's blocks (extent and index vectors as for the alignments) and
  // assignments (per query; empty when none were given).
  std::string blocksFile;
  std::vector<Alignment> blockExtents;
  std::vector<uint32_t> blockReferenceOf, blockQueryOf;
  std::vector<BlockFacts> blocks;
  std::vector<Assignment> assigned;
  // Sequences the input names (a SAM header's references, unmapped reads)
  // that no alignment has: left out of the picture, counted in its legend.
  uint64_t unalignedReferences = 0, unalignedQueries = 0;
  // Whether the canvas holds several sequences of a side, each in a band
  // (set by the layout; then the axes' positions are canvas positions).
  bool bands = false;
};

// The one sequence pair to plot of an input that holds several.
struct PairChoice {
  std::string reference, query;  // empty: every pair
};

// The input's format as -i names it.
struct InputFormat {
  bool named = false;
  aliconv::Format format = aliconv::Format::PAF;
};

// Reads the alignments (any format aliconv reads, recognised from the
// content unless named; plain, gzip or "-") and the reports. Throws
// common::ToolError naming the file (and line) when a file cannot be read,
// a line is malformed, the input holds no alignment (of the chosen pair),
// a report comes with an input that is no alignment file, or a report does
// not belong to the alignment file: a member number beyond its alignments,
// or a member line that differs from the alignment line with that number.
PlotInput readPlotInput(const std::string &alignmentPath, const std::vector<std::string> &reportPaths,
                        const PairChoice &pair = PairChoice(), const InputFormat &format = InputFormat());

}  // namespace aliplot

#endif
