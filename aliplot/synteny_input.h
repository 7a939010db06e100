// alisyn's tables beside the alignments: the synteny blocks
// (PREFIX.blocks.tsv), drawn coloured by class, and each query's reference
// and orientation (PREFIX.assign.tsv), which place the queries on a canvas
// of several.
#ifndef ALIPLOT_SYNTENY_INPUT_H
#define ALIPLOT_SYNTENY_INPUT_H

#include "plot_input.h"

#include <string>

namespace aliplot {

// "syntenic", "inverted", "translocated" or "duplicated".
const char *blockClassName(BlockClass blockClass);

// Reads a blocks table ("-": standard input, gzip allowed) into
// plot.blocks and plot.blockExtents. Blocks of other pairs than a chosen
// one are skipped. Throws common::ToolError naming the file and line when
// the file is no blocks table, a line is malformed, or a block names a
// sequence that no alignment of the plot names (the table belongs to
// other alignments).
void readBlocks(const std::string &path, PlotInput &plot, const PairChoice &pair);

// Reads an assignment table into plot.assigned, with the same refusals.
void readAssignments(const std::string &path, PlotInput &plot, const PairChoice &pair);

}  // namespace aliplot

#endif
