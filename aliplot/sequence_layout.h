// Whole assemblies on one canvas: the reference sequences side by side
// along x, the query sequences stacked along y, each query placed and
// turned by where and on which strand most of it aligns, or as alisyn
// assigned it.
#ifndef ALIPLOT_SEQUENCE_LAYOUT_H
#define ALIPLOT_SEQUENCE_LAYOUT_H

#include "plot_input.h"

namespace aliplot {

enum class SequenceOrder { FILE, LENGTH, NAME };

// For an input of more than one sequence on either side: gives every
// sequence its band (references in `order`: first appearance, longest
// first, or by name; queries by the position on the references where most
// of their aligned bases lie, turned over when most lie on the minus
// strand, unless alisyn's assignment or syntenic blocks name the reference
// and strand, and then by the place of their blocks there), moves the
// alignments and blocks to canvas positions (a turned query's change
// strand), sorts both sequence lists into canvas order (renumbering the
// indices and assignments) and sets plot.bands. An input of one pair stays
// as it is.
void layOutSequences(PlotInput &plot, SequenceOrder order);

}  // namespace aliplot

#endif
