// The per-pair table: what the kept alignments cover between each reference
// and query sequence, for summaries that list sequence pairs one by one.
#ifndef ALISYN_PAIRS_TABLE_H
#define ALISYN_PAIRS_TABLE_H

#include "alignment_set.h"
#include "classify.h"

#include <cstdio>

namespace alisyn {

// One header line, then per sequence pair of the input (in order of first
// appearance, pairs that kept nothing included): reference, query, their
// lengths (empty when the input states none), alignments read, kept, blocks
// in all and by class, the reference and query bases the pair's kept
// alignments cover (each counted once), and their identity in percent
// weighted by reference bases (empty when none is kept or one states none).
void writePairsTable(std::FILE *out, const AlignmentSet &set, const std::vector<Block> &blocks,
                     const std::vector<BlockClass> &classes);

}  // namespace alisyn

#endif
